/* Starts a program, waits for its first top-level window and then, for the given
 * number of seconds, prints one line per change of a mapped window's title:
 * the wall-clock moment the change reached us (seconds and nanoseconds) and the title. */
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static xcb_atom_t atom(xcb_connection_t* x, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, strlen(name), name), NULL);
  const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
  free(reply);
  return result;
}

int main(int argc, char* argv[]) {
  if (argc < 3) { fprintf(stderr, "usage: title_watch seconds program [args]\n"); return 2; }
  const double seconds = atof(argv[1]);
  xcb_connection_t* x = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(x)) { fprintf(stderr, "title_watch: no display\n"); return 1; }
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const xcb_atom_t title = atom(x, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(x, "UTF8_STRING");
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));
  const pid_t pid = fork();
  if (pid == 0) {
    close(xcb_get_file_descriptor(x)); /* not xcb_disconnect: that shuts the socket down for the parent too */
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  struct timespec end;
  clock_gettime(CLOCK_MONOTONIC, &end);
  end.tv_sec += (time_t)seconds + 5; /* the start-up's own time */
  xcb_window_t window = XCB_WINDOW_NONE;
  struct pollfd fd = {xcb_get_file_descriptor(x), POLLIN, 0};
  for (;;) {
    xcb_generic_event_t* e;
    while ((e = xcb_poll_for_event(x))) {
      struct timespec at;
      clock_gettime(CLOCK_REALTIME, &at);
      const int type = e->response_type & 0x7f;
      if (type == XCB_MAP_NOTIFY && window == XCB_WINDOW_NONE) {
        const xcb_map_notify_event_t* map = (const xcb_map_notify_event_t*)e;
        if (map->event == root && !map->override_redirect) {
          window = map->window;
          const uint32_t props = XCB_EVENT_MASK_PROPERTY_CHANGE;
          xcb_change_window_attributes(x, window, XCB_CW_EVENT_MASK, &props);
          xcb_flush(x);
          clock_gettime(CLOCK_MONOTONIC, &end);
          end.tv_sec += (time_t)seconds;
        }
      } else if (type == XCB_MAP_NOTIFY) {
        /* Wine maps a window of its own desktop process first: every later one is watched too. */
        const xcb_map_notify_event_t* map = (const xcb_map_notify_event_t*)e;
        if (map->event == root && !map->override_redirect) {
          const uint32_t props = XCB_EVENT_MASK_PROPERTY_CHANGE;
          xcb_change_window_attributes(x, map->window, XCB_CW_EVENT_MASK, &props);
          xcb_flush(x);
        }
      } else if (type == XCB_PROPERTY_NOTIFY) {
        const xcb_property_notify_event_t* change = (const xcb_property_notify_event_t*)e;
        if (change->atom == title && change->state == XCB_PROPERTY_NEW_VALUE) {
          xcb_get_property_reply_t* value =
              xcb_get_property_reply(x, xcb_get_property(x, 0, change->window, title, utf8, 0, 64), NULL);
          if (value) {
            printf("%lld.%09ld %.*s\n", (long long)at.tv_sec, at.tv_nsec, xcb_get_property_value_length(value),
                   (const char*)xcb_get_property_value(value));
            free(value);
          }
        }
      }
      free(e);
    }
    if (xcb_connection_has_error(x)) break;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long left = (end.tv_sec - now.tv_sec) * 1000LL + (end.tv_nsec - now.tv_nsec) / 1000000;
    if (left <= 0) break;
    poll(&fd, 1, (int)left);
  }
  fflush(stdout);
  kill(pid, SIGTERM);
  waitpid(pid, NULL, 0);
  return 0;
}

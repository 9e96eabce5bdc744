/* Starts a program and prints its pid and the milliseconds until it maps its first top-level window. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char* argv[]) {
  if (argc < 2) { fprintf(stderr, "usage: map_watch program [args]\n"); return 2; }
  xcb_connection_t* x = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(x)) { fprintf(stderr, "map_watch: no display\n"); return 1; }
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask));
  const double start = now_ms();
  const pid_t pid = fork();
  if (pid == 0) {
    close(xcb_get_file_descriptor(x)); /* not xcb_disconnect: that shuts the socket down for the parent too */
    /* The program's output must not hold up whoever reads ours. */
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  for (xcb_generic_event_t* e; (e = xcb_wait_for_event(x)); free(e)) {
    if ((e->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
    const xcb_map_notify_event_t* map = (const xcb_map_notify_event_t*)e;
    if (map->event != root || map->override_redirect) continue;
    printf("%d %.1f\n", (int)pid, now_ms() - start);
    free(e);
    return 0;
  }
  fprintf(stderr, "map_watch: display closed\n");
  return 1;
}

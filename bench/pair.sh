# What the measuring scripts share, to run the program and its floor side by side. Sourced.

# start_both RUN PROGRAM FLOOR: starts both with the caller's start(), the one that
# went second last time first (so that neither always meets cold caches); records
# their start times in $work/results, their pids in $pid_selenial and $pid_floor,
# and adds those to $pids. Sourced by the measuring scripts.
start_both() {
  local order="selenial floor" name binary pid ms
  [ $(($1 % 2)) -eq 0 ] && order="floor selenial"
  for name in $order; do
    binary="$2"; [ "$name" = floor ] && binary="$3"
    read -r pid ms < <(start "$binary")
    pids+=("$pid")
    echo "$name start_ms $ms" >>"$work/results"
    eval "pid_$name=$pid"
  done
}
# Records the resident and proportional memory of both in $work/results.
record_memory() {
  local name pid
  for name in selenial floor; do
    eval "pid=\$pid_$name"
    echo "$name rss_kib $(awk '/VmRSS/ { print $2 }' /proc/"$pid"/status)" >>"$work/results"
    echo "$name pss_kib $(awk '/^Pss:/ { print $2 }' /proc/"$pid"/smaps_rollup)" >>"$work/results"
  done
}

# Medians, ranges and ratios of the measuring scripts' results: lines of
# "selenial|floor METRIC VALUE", the metrics in the order given by -v metrics="...".
{ values[$1 " " $2] = values[$1 " " $2] " " $3 }
function median(list,   n, a, i, j, t) {
  n = split(list, a, " ")
  for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
  lo = a[1]; hi = a[n]
  return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
END {
  printf "%-16s %22s %22s %7s\n", "metric", "selenial", "floor", "ratio"
  count = split(metrics, order, " ")
  for (k = 1; k <= count; k++) {
    m = order[k]
    s = median(values["selenial " m]); slo = lo; shi = hi
    f = median(values["floor " m]); flo = lo; fhi = hi
    printf "%-16s %8s [%5s-%5s] %8s [%5s-%5s] %7.2f\n", m, s, slo, shi, f, flo, fhi, (f > 0 ? s / f : 0)
  }
}

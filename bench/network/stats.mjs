// Percentiles and the way figures are printed.
export function percentile(sorted, p) {
  if (sorted.length === 0) return NaN;
  return sorted[Math.min(sorted.length - 1, Math.ceil((p / 100) * sorted.length) - 1)];
}
export const ms = (v) => (Number.isFinite(v) ? v.toFixed(2) : "n/a");

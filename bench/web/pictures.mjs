// The pictures the browser benchmarks measure: each at its heaviest input, as a page link.
// forgetPrimes: the spiral's primes are found again for every frame, as on its very first frame.
export const heaviest = [
  { name: '1 Trigonometric functions', link: 'answer=1&ticks=3999' },
  { name: '2 Logistic map', link: 'answer=2&mouse=1279,719' },
  { name: '3 Bifurcation diagram', link: 'answer=3&ticks=0' },
  { name: '4 Quadratic function', link: 'answer=4&mouse=1279,719' },
  { name: '5 Ulam spiral, first frame (finds the primes)', link: 'answer=5&ticks=0', forgetPrimes: true },
  { name: '5 Ulam spiral, later frames', link: 'answer=5&ticks=0' },
  { name: '6 Figure rotation', link: 'answer=6&ticks=2261' },
  { name: '7 Sine and cosine', link: 'answer=7&ticks=6785' },
  { name: '8 Phase shift', link: 'answer=8&ticks=6785' },
  { name: '9 Prime numbers graph', link: 'answer=9&ticks=0' },
  { name: '10 Computed sine', link: 'answer=10&mouse=1279,719' },
  { name: '10 Computed sine, 256 terms', link: 'answer=10&mouse=32767,0' },
];

export const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// One line per Lighthouse report: the category scores and the figures of the page's start.
//   node summary.js REPORT.json...
'use strict';
const fs = require('fs');

const figure = (audits, id, unit) => {
  const a = audits[id];
  if (!a || typeof a.numericValue !== 'number') return '-';
  return unit === 's' ? (a.numericValue / 1000).toFixed(1) + ' s' : Math.round(a.numericValue) + ' ms';
};

for (const file of process.argv.slice(2)) {
  const report = JSON.parse(fs.readFileSync(file, 'utf8'));
  const c = report.categories;
  const score = (id) => (c[id] ? Math.round(c[id].score * 100) : '-');
  const a = report.audits;
  const failed = Object.values(a)
    .filter((x) => x.score !== null && x.score < 0.9 && x.scoreDisplayMode === 'binary')
    .map((x) => x.id);
  console.log(
    [
      report.configSettings.formFactor.padEnd(7),
      report.finalDisplayedUrl.replace(/^https?:\/\/[^/]+/, '').padEnd(40),
      'perf ' + score('performance'),
      'a11y ' + score('accessibility'),
      'bp ' + score('best-practices'),
      'seo ' + score('seo'),
      '| FCP ' + figure(a, 'first-contentful-paint', 's'),
      'LCP ' + figure(a, 'largest-contentful-paint', 's'),
      'TBT ' + figure(a, 'total-blocking-time'),
      'TTI ' + figure(a, 'interactive', 's'),
      'CLS ' + (a['cumulative-layout-shift'] ? a['cumulative-layout-shift'].numericValue.toFixed(3) : '-'),
      'main thread ' + figure(a, 'mainthread-work-breakdown', 's'),
      failed.length ? '| failing: ' + failed.join(', ') : '',
    ].join('  ')
  );
}

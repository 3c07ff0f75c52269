// Inputs for the component scripts and the page they run in; shared by the component tests
// and the screenshot script (docs/components.png).
const rows = [
  { name: 'Ada', city: '\u0141\u00f3d\u017a', age: 36 },
  { name: 'Linus', city: 'Helsinki', age: 54 },
  { name: 'Grace', city: 'New York', age: 85 },
];
const tabulatorConfig = JSON.stringify({
  data: rows, layout: 'fitColumns',
  columns: [{ title: 'Name', field: 'name' }, { title: 'City', field: 'city' }, { title: 'Age', field: 'age', hozAlign: 'right' }],
});
const barOption = JSON.stringify({
  animation: false, title: { text: 'Hours per week' }, tooltip: {},
  xAxis: { type: 'category', data: ['Mon', 'Tue', 'Wed', 'Thu'] }, yAxis: { type: 'value' },
  series: [{ type: 'bar', name: 'Stunden \u00e9t\u00e9', data: [5, 20, 36, 10] }],
});
const lineOption = JSON.stringify({
  animation: false, xAxis: { type: 'category', data: ['x', 'y', 'z'] }, yAxis: { type: 'value' },
  series: [{ type: 'line', data: [3, 1, 2] }],
});

// name -> [kind, container ID, JSON parameter as the author typed it]
export const componentCases = {
  tabulator: ['tabulator', 'grid-1', `\r\n  ${tabulatorConfig}  `],
  tabulatorAgain: ['tabulator', 'grid-1', '{"data":[{"name":"Only"}],"columns":[{"title":"Name","field":"name"}]}'],
  tabulatorAbsent: ['tabulator', 'absent', tabulatorConfig],
  tabulatorBroken: ['tabulator', 'grid-1', '{"data":[}'],
  quillBlank: ['quill', 'ns:editor', ' \t '],
  quillOptions: ['quill', 'ns:editor', '{"theme":"bubble","placeholder":"Schreiben Sie hier \u2026"}'],
  quillAbsent: ['quill', 'absent', ''],
  quillBroken: ['quill', 'ns:editor', '{placeholder:}'],
  echarts: ['echarts', 'chart_2', barOption],
  echartsAgain: ['echarts', 'chart_2', lineOption],
  echartsSecond: ['echarts', 'chart-b', lineOption],
  echartsAbsent: ['echarts', 'absent', barOption],
  echartsBroken: ['echarts', 'chart_2', '{series:[{type:"bar",data:[1,2]}]'],
};

export function componentPage({ libraries }) {
  const head = libraries ? `
<link rel="stylesheet" href="/WebLibraries/Tabulator/tabulator.min.css">
<link rel="stylesheet" href="/WebLibraries/Quill/quill.bubble.css">
<script src="/WebLibraries/Tabulator/tabulator.min.js"></script>
<script src="/WebLibraries/Quill/quill.js"></script>
<script src="/WebLibraries/ECharts/dist/echarts.min.js"></script>` : '';
  return `<!doctype html><html><head><meta charset="utf-8"><title>components</title>${head}
<style>
  html, body { margin: 0; padding: 0; font: 14px "DejaVu Sans", sans-serif; background: #fff; }
  h2 { font-size: 15px; margin: 12px 16px 6px; }
  #grid-1, #ns\\:editor { margin: 0 16px; width: 460px; }
  #ns\\:editor { height: 120px; border: 1px solid #bbb; }
  #chart_2 { width: 50vw; height: 300px; }
  #chart-b { width: 30vw; height: 300px; }
  .charts { display: flex; }
</style></head><body>
<h2>Tabulator</h2><div id="grid-1"></div>
<h2>Quill</h2><div id="ns:editor"></div>
<h2>ECharts</h2><div class="charts"><div id="chart_2"></div><div id="chart-b"></div></div>
</body></html>`;
}

// Injected by the browser panel into every page it shows. The panel calls updateInvert after each
// navigation and whenever its "Invert Color" or "Background Removal" setting changes.
//
// The whole body is inverted, then pictures and videos are inverted once more so they keep their
// own colours. Canvases are not: the PDF viewer draws its pages on them, and inverting a page
// (dark paper, light print) is what the setting is for.
function updateInvert(num, removeBackground = true) {
  if (!removeBackground || !document.body) return;
  const state = updateInvert.state || (updateInvert.state = { num, observer: null });
  state.num = num;

  const restyle = (element) => {
    // Elements outside HTML and SVG (MathML in older engines) may have no style to set.
    if (!element.style) return;
    element.style.background = 'transparent';
    // Tag names are upper case in HTML documents but keep their case in XHTML ones.
    const tag = String(element.tagName).toUpperCase();
    if (tag === 'IMG' || tag === 'VIDEO') {
      element.style.filter = 'invert(' + state.num + ')';
    }
  };

  document.body.style.filter = 'invert(' + num + ') brightness(1.1)';
  document.body.style.background = 'transparent';
  for (const element of document.querySelectorAll('*')) restyle(element);

  // Pages keep adding elements (pictures loaded late, the PDF viewer's page wrappers with their
  // white backgrounds); they get the same treatment as the ones already there.
  if (!state.observer && typeof MutationObserver === 'function') {
    state.observer = new MutationObserver((records) => {
      for (const record of records) {
        for (const node of record.addedNodes) {
          if (node.nodeType !== 1) continue;
          restyle(node);
          for (const inner of node.querySelectorAll('*')) restyle(inner);
        }
      }
    });
    state.observer.observe(document.documentElement, { childList: true, subtree: true });
  }
}

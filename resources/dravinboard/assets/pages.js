// The board as a document of pages, as the application drives it: turning, adding, moving and
// removing pages, their backgrounds, the document read and written as JSON, a page as SVG,
// and the generic request that answers with a reply message.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc } = B;

  // Whatever the pointer or the keyboard was doing ends on the page it began on.
  function leavePage() {
    B.finishGesture();
    NS.textEditor.close();
    NS.selection.set([]);
  }

  function change(operation) {
    leavePage();
    const result = operation();
    B.changed();
    return result;
  }

  function checkedIndex(i) {
    const index = Number(i);
    return Number.isInteger(index) && index >= 0 && index < doc.pages.length ? index : null;
  }

  function look(background, ref) {
    if (!NS.kBackgrounds.includes(background)) throw new Error('unknown background: ' + background);
    if (background !== 'image') return { background };
    if (!NS.parseAsset(ref)) throw new Error('a picture page needs an asset reference');
    return { background, image: ref };
  }

  NS.addPages = function addPages(pages) {
    if (!Array.isArray(pages) || pages.length === 0) throw new Error('no pages to add');
    const looks = pages.map((p) => look(p && p.background, p && p.image));
    return change(() => doc.insertPages(looks));
  };

  NS.placePicture = function placePicture(ref) {
    if (!NS.parseAsset(ref)) throw new Error('not an asset reference');
    leavePage();
    return NS.drops.placePicture(ref, root.innerWidth / 2, root.innerHeight / 2);
  };

  NS.newPage = () => change(() => doc.newPage());
  NS.duplicatePage = () => change(() => doc.duplicatePage());
  NS.deletePage = () => change(() => doc.deletePage());
  NS.movePage = (from, to) => change(() => doc.movePage(Number(from), Number(to)));
  NS.goToPage = function goToPage(i) {
    const index = checkedIndex(i);
    if (index === null) return false;
    if (index !== doc.current) change(() => doc.goTo(index));
    return true;
  };
  NS.nextPage = () => NS.goToPage(doc.current + 1);
  NS.previousPage = () => NS.goToPage(doc.current - 1);
  NS.pageCount = () => doc.pages.length;
  NS.currentPage = () => doc.current;

  NS.setPageBackground = function setPageBackground(background, ref) {
    const wanted = look(background, ref);
    return B.setBackground(wanted.background, wanted.image || null);
  };

  // The camera picture as seen (the view's size) becomes the page; the ink goes with it to
  // where the picture puts it in the page, so nothing moves on screen.
  NS.keepPicture = function keepPicture(ref) {
    if (!NS.parseAsset(ref)) throw new Error('not an asset reference');
    return change(() => {
      doc.keepPicture(ref, B.itemMatrix(), root.innerWidth, root.innerHeight);
      return true;
    });
  };

  NS.serialize = () => NS.serializeDocument(doc);

  // True, or why the document cannot be read; the board stays as it was then.
  NS.load = function load(document) {
    let json = document;
    if (typeof json === 'string') {
      try {
        json = JSON.parse(json);
      } catch (e) {
        return 'not a board document (not JSON)';
      }
    }
    const parsed = NS.parseDocument(json);
    if (typeof parsed === 'string') return parsed;
    leavePage();
    doc.replaceAll(parsed.width, parsed.height, parsed.pages, parsed.current);
    B.replaced();
    return true;
  };

  NS.pageSvg = function pageSvg(i) {
    const index = checkedIndex(i);
    if (index === null) throw new Error('no page ' + i);
    const page = doc.pages[index];
    return NS.svgOfItems(page.items, doc.width, doc.height, B.pageItemMatrix(page));
  };

  const kMethods = ['addPages', 'placePicture', 'newPage', 'duplicatePage', 'deletePage',
    'movePage', 'nextPage', 'previousPage', 'goToPage', 'pageCount', 'currentPage',
    'keepPicture', 'setPageBackground', 'serialize', 'load', 'pageSvg'];

  // The application's call by name; the answer comes back as a 'reply' message.
  root.dravinRequest = function dravinRequest(id, method, args) {
    const reply = (fields) => NS.post(Object.assign({ type: 'reply', id }, fields));
    if (!kMethods.includes(method)) {
      reply({ ok: false, error: 'unknown method: ' + method });
      return;
    }
    new Promise((resolve) => resolve(NS[method](...(Array.isArray(args) ? args : []))))
      .then((result) => reply({ ok: true, result: result === undefined ? null : result }),
        (error) => reply({ ok: false, error: String((error && error.message) || error) }));
  };
})(window);

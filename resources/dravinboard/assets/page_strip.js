// The strip of pages at the board's left edge: a thumbnail a page (drawn when it comes into
// sight and again once its page settles), the page number, turning, adding, duplicating and
// deleting pages, reordering them by dragging, and the board's own commands, which the
// application carries out. Collapsed, it leaves a small tab with the page number.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc } = B;
  const $ = (selector) => document.querySelector(selector);
  const strip = $('#pages');
  const list = $('#page-list');
  const tab = $('#pages-tab');
  const confirmBox = $('#page-delete-confirm');
  // Thumbnails are this many CSS pixels wide; their backgrounds are asked for that wide.
  const kThumbWidth = 152;
  // A page's thumbnail is drawn again this long after its last change.
  const kSettleMs = 300;
  // Pressed on a thumbnail, the pointer moves this far before the page is dragged.
  const kDragStart = 6;

  // page id -> {li, canvas, drawn (the page object last drawn), visible}
  const thumbs = new Map();
  // Small pictures of picture pages, by address: kept, as they are asked for once.
  const smallPictures = new Map();
  let drawTimer = null;
  let scrolledTo = null;

  const visibility = new IntersectionObserver((entries) => {
    for (const entry of entries) {
      const thumb = thumbs.get(Number(entry.target.dataset.page));
      if (thumb) thumb.visible = entry.isIntersecting;
    }
    schedule(0);
  }, { root: list, rootMargin: '200px 0px' });

  function thumbFor(page) {
    let thumb = thumbs.get(page.id);
    if (thumb) return thumb;
    const li = document.createElement('li');
    li.className = 'page-thumb';
    li.dataset.page = String(page.id);
    li.title = 'Show this page; drag it to move it';
    li.tabIndex = 0;
    const canvas = document.createElement('canvas');
    const number = document.createElement('span');
    number.className = 'page-index';
    li.append(canvas, number);
    thumb = { li, canvas, number, drawn: null, placement: null, visible: false };
    thumbs.set(page.id, thumb);
    visibility.observe(li);
    return thumb;
  }

  // The list in the document's order, the shown page marked, the numbers and buttons right.
  function update() {
    const annotating = document.body.classList.contains('annotating');
    document.body.classList.toggle('with-application', NS.hasApplication());
    const seen = new Set();
    let previous = null;
    doc.pages.forEach((page, i) => {
      const thumb = thumbFor(page);
      seen.add(page.id);
      const li = thumb.li;
      const height = Math.round((kThumbWidth * doc.height) / doc.width);
      li.style.setProperty('--thumb-height', height + 'px');
      thumb.number.textContent = String(i + 1);
      li.classList.toggle('current', i === doc.current);
      li.setAttribute('aria-label', `Page ${i + 1}`);
      li.setAttribute('aria-current', i === doc.current ? 'page' : 'false');
      const wanted = previous ? previous.nextSibling : list.firstChild;
      if (wanted !== li) list.insertBefore(li, wanted);
      previous = li;
    });
    for (const [id, thumb] of thumbs) {
      if (seen.has(id)) continue;
      visibility.unobserve(thumb.li);
      thumb.li.remove();
      thumbs.delete(id);
    }
    const label = `${doc.current + 1} / ${doc.pages.length}`;
    for (const element of document.querySelectorAll('.page-number')) element.textContent = label;
    for (const b of document.querySelectorAll('[data-page-action="previous"]')) {
      b.disabled = doc.current === 0;
    }
    for (const b of document.querySelectorAll('[data-page-action="next"]')) {
      b.disabled = doc.current === doc.pages.length - 1;
    }
    // A page newly shown is brought into sight; drawing on it leaves the list where it is.
    const current = thumbs.get(doc.page.id);
    if (current && annotating && !strip.classList.contains('collapsed') &&
        scrolledTo !== doc.page.id) {
      scrolledTo = doc.page.id;
      current.li.scrollIntoView({ block: 'nearest' });
    }
    closeConfirm();
    schedule(kSettleMs);
  }

  // ---- Drawing the thumbnails --------------------------------------------------------------

  function schedule(ms) {
    clearTimeout(drawTimer);
    drawTimer = setTimeout(drawSome, ms);
  }

  function placementKey(page) {
    return page.background === 'none' ? B.pageItemMatrix(page).join() : '';
  }

  // The visible thumbnails whose page changed, one at a time so drawing stays smooth.
  function drawSome() {
    if (strip.classList.contains('collapsed')) return;
    for (const page of doc.pages) {
      const thumb = thumbs.get(page.id);
      if (!thumb || !thumb.visible) continue;
      const key = placementKey(page);
      if (thumb.drawn === page && thumb.placement === key && thumb.width === doc.width) continue;
      thumb.drawn = page;
      thumb.placement = key;
      thumb.width = doc.width;
      draw(thumb, page).then(() => schedule(16));
      return;
    }
  }

  // A picture page's background as a thumbnail-sized canvas: a picture file comes whole, and
  // a hundred of them kept at full size would fill the page's memory.
  function smallPicture(ref) {
    const ratio = root.devicePixelRatio || 1;
    const width = Math.round(kThumbWidth * ratio);
    const address = B.pictureAddress(ref, width);
    let entry = smallPictures.get(address);
    if (!entry) {
      entry = new Promise((resolve) => {
        const image = new Image();
        image.onload = () => {
          const scale = Math.min(1, (2 * width) / Math.max(1, image.naturalWidth));
          const small = document.createElement('canvas');
          small.width = Math.max(1, Math.round(image.naturalWidth * scale));
          small.height = Math.max(1, Math.round(image.naturalHeight * scale));
          small.getContext('2d').drawImage(image, 0, 0, small.width, small.height);
          resolve(small);
        };
        image.onerror = () => resolve(null);
        image.src = address;
      });
      smallPictures.set(address, entry);
    }
    return entry;
  }

  // The page's background as the paper shows it (patterns as in board.css), then its ink.
  async function draw(thumb, page) {
    const ratio = root.devicePixelRatio || 1;
    const scale = (kThumbWidth * ratio) / doc.width;
    const canvas = thumb.canvas;
    const width = Math.round(kThumbWidth * ratio);
    const height = Math.round(doc.height * scale);
    const picture = page.background === 'image' ? await smallPicture(page.image) : null;
    if (thumb.drawn !== page) return;
    canvas.width = width;
    canvas.height = height;
    const ctx = canvas.getContext('2d');
    ctx.setTransform(scale, 0, 0, scale, 0, 0);
    NS.paintBackground(ctx, page.background, doc.width, doc.height, picture);
    const painter = new NS.Painter(B.pictures);
    painter.pixelRatio = scale;
    const m = B.pageItemMatrix(page);
    ctx.save();
    ctx.beginPath();
    ctx.rect(0, 0, doc.width, doc.height);
    ctx.clip();
    for (const item of page.items) painter.draw(ctx, item, m);
    ctx.restore();
  }

  // ---- Reordering by dragging --------------------------------------------------------------

  let drag = null; // {li, pointerId, from, startY, moved}
  const marker = document.createElement('div');
  marker.className = 'page-drop-marker';

  function indexOfLi(li) {
    return Array.prototype.indexOf.call(list.children, li);
  }

  // Where the dragged page would land: before the first other page whose middle is below.
  function dropIndex(y) {
    let index = 0;
    for (const li of list.children) {
      if (li === drag.li || li === marker) continue;
      const r = li.getBoundingClientRect();
      if (y > r.top + r.height / 2) index++;
    }
    return index;
  }

  function showMarker(to) {
    const others = Array.from(list.children).filter((li) => li !== drag.li && li !== marker);
    const listBox = list.getBoundingClientRect();
    const before = others[to];
    const after = others[to - 1];
    let y;
    if (before) y = before.getBoundingClientRect().top - 5;
    else y = after.getBoundingClientRect().bottom + 3;
    marker.style.top = y - listBox.top + list.scrollTop + 'px';
    if (!marker.parentNode) list.appendChild(marker);
  }

  list.addEventListener('pointerdown', (e) => {
    const li = e.target.closest('.page-thumb');
    if (!li || e.button !== 0 || drag) return;
    e.preventDefault();
    NS.capture(list, e.pointerId);
    drag = { li, pointerId: e.pointerId, from: indexOfLi(li), startY: e.clientY, moved: false };
  });

  list.addEventListener('pointermove', (e) => {
    if (!drag || drag.pointerId !== e.pointerId) return;
    const dy = e.clientY - drag.startY;
    if (!drag.moved && Math.abs(dy) < kDragStart) return;
    drag.moved = true;
    drag.li.classList.add('dragging');
    drag.li.style.transform = `translateY(${dy}px)`;
    // Near the ends the list scrolls, so a page can travel the whole document.
    const box = list.getBoundingClientRect();
    if (e.clientY < box.top + 32) list.scrollTop -= 12;
    else if (e.clientY > box.bottom - 32) list.scrollTop += 12;
    drag.to = dropIndex(e.clientY);
    showMarker(drag.to);
  });

  function endDrag(e, cancelled) {
    if (!drag || drag.pointerId !== e.pointerId) return;
    const ended = drag;
    drag = null;
    ended.li.classList.remove('dragging');
    ended.li.style.transform = '';
    marker.remove();
    if (cancelled) return;
    if (!ended.moved) NS.goToPage(ended.from);
    else if (ended.to !== undefined && ended.to !== ended.from) NS.movePage(ended.from, ended.to);
  }
  // From the keyboard: Enter shows the focused page.
  list.addEventListener('keydown', (e) => {
    const li = e.target.closest('.page-thumb');
    if (!li || (e.key !== 'Enter' && e.key !== ' ')) return;
    e.preventDefault();
    e.stopPropagation();
    NS.goToPage(indexOfLi(li));
  });

  list.addEventListener('pointerup', (e) => endDrag(e, false));
  list.addEventListener('pointercancel', (e) => endDrag(e, true));

  // ---- Buttons -----------------------------------------------------------------------------

  function openConfirm() {
    const only = doc.pages.length === 1;
    confirmBox.querySelector('.confirm-text').textContent = only
      ? 'Empty the only page?' : `Delete page ${doc.current + 1}?`;
    confirmBox.classList.add('open');
    confirmBox.querySelector('[data-confirm="delete"]').focus();
  }

  function closeConfirm() {
    confirmBox.classList.remove('open');
  }

  function setCollapsed(collapsed) {
    strip.classList.toggle('collapsed', collapsed);
    tab.classList.toggle('open', collapsed);
    try {
      root.localStorage.setItem('dravinboard.pagesCollapsed', collapsed ? '1' : '0');
    } catch (e) {
      // A page without storage opens the strip every time.
    }
    if (!collapsed) {
      scrolledTo = null;
      update();
    }
  }

  function act(b) {
    const command = b.dataset.command;
    if (command) {
      NS.post({ type: 'boardcommand', command });
      return;
    }
    const action = b.dataset.pageAction;
    if (action === 'previous') NS.previousPage();
    else if (action === 'next') NS.nextPage();
    else if (action === 'add') NS.newPage();
    else if (action === 'duplicate') NS.duplicatePage();
    else if (action === 'delete') openConfirm();
    else if (action === 'collapse') setCollapsed(true);
    else if (action === 'expand') setCollapsed(false);
  }

  for (const holder of [strip, tab]) {
    holder.addEventListener('click', (e) => {
      const b = e.target.closest('button');
      if (b && !b.disabled && holder.contains(b) && !confirmBox.contains(b)) act(b);
    });
  }
  confirmBox.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b) return;
    closeConfirm();
    if (b.dataset.confirm === 'delete') NS.deletePage();
  });
  confirmBox.addEventListener('keydown', (e) => {
    e.stopPropagation();
    if (e.key === 'Escape') closeConfirm();
  });

  // The strip is the board's own: pressing on it neither draws nor pans the camera.
  for (const element of [strip, tab]) {
    for (const type of ['pointerdown', 'pointermove', 'pointerup', 'mousedown', 'mousemove',
      'mouseup', 'click', 'dblclick', 'wheel']) {
      element.addEventListener(type, (e) => e.stopPropagation());
    }
  }

  // The strip shows while drawing, as the tools do.
  const allow = root.allowAnnotation;
  root.allowAnnotation = function allowAnnotation(on) {
    allow(on);
    scrolledTo = null;
    closeConfirm();
    update();
  };

  let collapsed = false;
  try {
    collapsed = root.localStorage.getItem('dravinboard.pagesCollapsed') === '1';
  } catch (e) {
    collapsed = false;
  }
  if (NS.overlay) document.body.classList.add('overlay');
  setCollapsed(collapsed);

  NS.pageStrip = {
    update,
    // A picture of some page's items arrived: thumbnails that show it are drawn again.
    pictureArrived() {
      for (const thumb of thumbs.values()) thumb.drawn = null;
      schedule(kSettleMs);
    },
    // The camera picture moved: the live pages' thumbnails follow once it rests.
    placementChanged() {
      schedule(kSettleMs);
    },
    thumbs,
  };
})(window);

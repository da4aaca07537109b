// Files dropped or pasted on the board. With the application there, it takes them (it keeps
// them with the board and places them); a page on its own places pictures through the
// server's "/files/". A picture dropped with Shift held becomes the page's background.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc, state, pictures } = B;
  const toast = document.querySelector('#toast');

  let messageTimer = null;
  function say(text) {
    toast.textContent = text;
    toast.classList.add('visible');
    clearTimeout(messageTimer);
    messageTimer = setTimeout(() => toast.classList.remove('visible'), 3500);
  }

  // What the page loads for a picture the board keeps as `src`: the server's "/files/" route
  // asks for this run's key, which the board never keeps.
  function addressOf(src) {
    const access = NS.serverAccess(root.location);
    return src.startsWith(access.origin + '/files/') && access.key
      ? src + '?key=' + encodeURIComponent(access.key) : src;
  }

  // What the board keeps for a picture named by `url`: a local picture file goes through the
  // server; the server's own addresses and picture data are kept as they are. Null otherwise.
  function pictureSource(url) {
    if (typeof url !== 'string' || url.length === 0) return null;
    const access = NS.serverAccess(root.location);
    const path = NS.filePathFromUrl(url);
    if (path) {
      const route = NS.isPicturePath(path) ? NS.filesRoute(path) : null;
      return route ? access.origin + route : null;
    }
    if (/^data:image\//.test(url)) return url;
    if (url.startsWith(access.origin + '/')) return url.replace(/[?&]key=[^&#]*/, '');
    return null;
  }

  // Places the picture `src` centred at a view point, at its own size or smaller. Settles
  // true once it is on the page, false when it could not be loaded.
  function placePicture(src, centreX, centreY) {
    return new Promise((resolve) => {
      const image = new Image();
      image.onload = () => resolve(placeLoaded(src, image, centreX, centreY));
      image.onerror = () => {
        say('The picture could not be loaded.');
        resolve(false);
      };
      image.src = B.pictureAddress(src, root.innerWidth * (root.devicePixelRatio || 1));
    });
  }

  function placeLoaded(src, image, centreX, centreY) {
    const size = NS.fitSize(image.naturalWidth, image.naturalHeight, root.innerWidth,
      root.innerHeight);
    if (size.width <= 0) {
      say('The picture could not be shown.');
      return false;
    }
    pictures.set(src, image);
    const x = Math.min(Math.max(0, centreX - size.width / 2), root.innerWidth - size.width);
    const y = Math.min(Math.max(0, centreY - size.height / 2), root.innerHeight - size.height);
    const toItem = NS.invertMatrix(B.itemMatrix());
    const item = doc.add(NS.transformItem({ kind: 'picture', src, x, y, width: size.width,
      height: size.height }, toItem));
    state.selection = new Set([item.id]);
    B.changed();
    return true;
  }

  function droppedUris(transfer) {
    const list = NS.parseUriList(transfer.getData('text/uri-list'));
    if (list.length > 0) return list;
    return NS.parseUriList(transfer.getData('text/plain')).filter((line) =>
      line.startsWith('file:'));
  }

  document.addEventListener('dragover', (e) => {
    const types = Array.from(e.dataTransfer ? e.dataTransfer.types : []);
    if (!types.includes('text/uri-list') && !types.includes('Files') &&
        !types.includes('text/plain')) {
      return;
    }
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });

  // Local files go to the application, which keeps them with the board; what is not a local
  // file is refused with a word. False when no application is there to take them.
  function handOver(uris, asBackground) {
    if (!NS.hasApplication()) return false;
    const paths = uris.map((uri) => NS.filePathFromUrl(uri)).filter((path) => path !== null);
    if (paths.length > 0) {
      const message = { type: 'openonboard', paths };
      if (asBackground) message.asBackground = true;
      if (!NS.post(message)) return false;
    }
    if (paths.length < uris.length) {
      say('Only files from this computer can be placed on the board.');
    }
    return true;
  }

  // A drop never navigates the board away; what is not a local picture is refused with a word.
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    const uris = droppedUris(e.dataTransfer);
    const oneBackground = e.shiftKey && uris.length === 1 &&
      NS.isPicturePath(NS.filePathFromUrl(uris[0]) || '');
    if (handOver(uris, oneBackground)) return;
    if (e.shiftKey && uris.length === 1) {
      const src = pictureSource(uris[0]);
      if (src) {
        useAsBackground(src);
        return;
      }
    }
    placeDropped(uris, e.clientX, e.clientY);
  });

  // The template is shown once it loaded; a missing one leaves the page as it was.
  function useAsBackground(src) {
    const image = new Image();
    image.onload = () => B.setBackground('image', src);
    image.onerror = () => say('The picture could not be loaded.');
    image.src = addressOf(src);
  }

  // Local pictures go on the board through the server, each a little below the one before.
  function placeDropped(uris, x, y) {
    let offset = 0;
    let refused = 0;
    for (const uri of uris) {
      const path = NS.filePathFromUrl(uri);
      const src = path ? pictureSource(uri) : null;
      if (!src) {
        refused++;
        continue;
      }
      placePicture(src, x + offset, y + offset);
      offset += 32;
    }
    if (refused > 0) say('Only pictures from this computer can be placed on the board.');
  }

  // A picture pasted from the library arrives as its file URL, which the web engine hands over
  // as the file itself; either way it is placed in the middle.
  document.addEventListener('paste', (e) => {
    if (state.editingText) return;
    const uris = droppedUris(e.clipboardData);
    const files = Array.from(e.clipboardData.files || []).filter((f) =>
      f.type.startsWith('image/'));
    if (uris.length === 0 && files.length === 0) return;
    e.preventDefault();
    const x = root.innerWidth / 2;
    const y = root.innerHeight / 2;
    if (uris.length > 0) {
      if (!handOver(uris, false)) placeDropped(uris, x, y);
      return;
    }
    // Kept as data, not as an address that dies with the page: the board is saved.
    files.forEach((file, i) => {
      const reader = new FileReader();
      reader.onload = () => placePicture(String(reader.result), x + 32 * i, y + 32 * i);
      reader.readAsDataURL(file);
    });
  });

  NS.drops = { pictureSource, addressOf, placePicture, useAsBackground, say };
})(window);

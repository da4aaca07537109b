// Two fingers steer the camera: their spread zooms and their middle pans, told to the
// application as "gesturestart"/"gesturechange" and "pan". One finger or a stylus draws; a
// second finger arriving drops the stroke the first one began. While not drawing, one finger
// pans like a mouse drag. Ctrl+wheel (a touchpad's
// pinch arrives as one) zooms the same way, and the page itself never zooms.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  // How far one wheel notch (a deltaY of 100) zooms: e^(100/300), about a third.
  const kWheelScale = 300;
  // A wheel pinch ends after this long without a wheel event.
  const kWheelIdleMs = 400;
  const kLinePixels = 16;

  const fingers = new Map(); // pointerId -> {x, y}
  // While two fingers are down: {distance, centre, pan} at the start and the pan last told.
  let pinch = null;
  let pinched = false;
  // One finger while not drawing pans the picture, as a mouse drag does: {start, pan}.
  let drag = null;

  function spread() {
    const [a, b] = [...fingers.values()];
    return { distance: Math.hypot(a.x - b.x, a.y - b.y), centre: { x: (a.x + b.x) / 2,
      y: (a.y + b.y) / 2 } };
  }

  function startPinch() {
    B.cancelGesture();
    pinched = true;
    const now = spread();
    pinch = { distance: Math.max(now.distance, 1), centre: now.centre, pan: { x: 0, y: 0 } };
    NS.post({ type: 'gesturestart', scale: B.placement().zoom });
  }

  function movePinch() {
    const now = spread();
    NS.post({ type: 'gesturechange', scale: now.distance / pinch.distance });
    const pan = { x: Math.round(now.centre.x - pinch.centre.x),
      y: Math.round(now.centre.y - pinch.centre.y) };
    if (pan.x === pinch.pan.x && pan.y === pinch.pan.y) return;
    pinch.pan = pan;
    // Like a mouse drag: the offset from where the pan began.
    NS.post({ type: 'pan', x: pan.x, y: pan.y, end: 0 });
  }

  function endPinch() {
    NS.post({ type: 'pan', x: pinch.pan.x, y: pinch.pan.y, end: 1 });
    pinch = null;
  }

  document.addEventListener('pointerdown', (e) => {
    if (e.pointerType !== 'touch') return;
    fingers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (fingers.size === 1 && !B.state.annotating && !pinched) {
      drag = { id: e.pointerId, start: { x: e.clientX, y: e.clientY }, pan: { x: 0, y: 0 } };
    }
    if (fingers.size === 2 && !pinch) {
      drag = null;
      startPinch();
    }
    if (fingers.size >= 2) {
      e.preventDefault();
      e.stopPropagation();
    }
  }, true);

  document.addEventListener('pointermove', (e) => {
    if (e.pointerType !== 'touch' || !fingers.has(e.pointerId)) return;
    fingers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (drag && drag.id === e.pointerId) {
      const pan = { x: Math.round(e.clientX - drag.start.x),
        y: Math.round(e.clientY - drag.start.y) };
      if (pan.x !== drag.pan.x || pan.y !== drag.pan.y) {
        drag.pan = pan;
        NS.post({ type: 'pan', x: pan.x, y: pan.y, end: 0 });
      }
      return;
    }
    if (!pinch) return;
    e.stopPropagation();
    if (fingers.size === 2) movePinch();
  }, true);

  function lift(e) {
    if (e.pointerType !== 'touch' || !fingers.has(e.pointerId)) return;
    fingers.delete(e.pointerId);
    if (drag && drag.id === e.pointerId) {
      NS.post({ type: 'pan', x: drag.pan.x, y: drag.pan.y, end: 1 });
      drag = null;
    }
    if (pinch && fingers.size < 2) endPinch();
    if (fingers.size === 0) pinched = false;
  }
  document.addEventListener('pointerup', lift, true);
  document.addEventListener('pointercancel', lift, true);

  // ---- Wheel -------------------------------------------------------------------------------

  let wheel = null; // {scale, timer}

  document.addEventListener('wheel', (e) => {
    if (!e.ctrlKey) return;
    e.preventDefault();
    if (!wheel) {
      wheel = { scale: 1, timer: null };
      NS.post({ type: 'gesturestart', scale: B.placement().zoom });
    }
    const delta = e.deltaMode === 1 ? e.deltaY * kLinePixels : e.deltaY;
    wheel.scale *= Math.exp(-delta / kWheelScale);
    NS.post({ type: 'gesturechange', scale: wheel.scale });
    clearTimeout(wheel.timer);
    wheel.timer = setTimeout(() => {
      wheel = null;
    }, kWheelIdleMs);
  }, { passive: false, capture: true });

  // From a pinch's start until every finger is up, no finger draws.
  NS.gestures = { busy: () => pinched };
})(window);

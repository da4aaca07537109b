// The page-style script the browser panel injects into every page: run as the shipped classic
// script over a small stand-in document, the way a page would run it.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';

const file = resolve(dirname(fileURLToPath(import.meta.url)),
                     '../../resources/dravinboard/assets/page_style.js');

const element = (tagName, style = {}) => ({ tagName, style: { ...style } });

// A document with a body and the given elements; querySelectorAll('*') lists them all.
// Observers are recorded, so a test can hand them the elements a page adds later.
function pageWith(elements, { body = true } = {}) {
  const bodyElement = element('BODY', { backgroundColor: 'white' });
  const html = element('HTML');
  const all = body ? [html, element('HEAD'), bodyElement, ...elements] : [html];
  const document = {
    documentElement: html,
    body: body ? bodyElement : null,
    querySelectorAll(selector) {
      assert.equal(selector, '*');
      return all;
    },
  };
  const observers = [];
  class MutationObserver {
    constructor(callback) {
      this.callback = callback;
    }
    observe(target, options) {
      observers.push({ observer: this, target, options });
    }
  }
  const context = vm.createContext({ document, MutationObserver });
  vm.runInContext(readFileSync(file, 'utf8'), context, { filename: file });
  // An added subtree: its root and what querySelectorAll('*') finds below it.
  const add = (root, inner = []) => {
    const node = { ...root, nodeType: 1, querySelectorAll: () => inner };
    for (const { observer } of observers) observer.callback([{ addedNodes: [node, { nodeType: 3 }] }]);
    return node;
  };
  return { context, body: bodyElement, all, observers, add };
}

test('does nothing when background removal is off', () => {
  const picture = element('IMG', { filter: 'blur(1px)' });
  const page = pageWith([element('DIV', { background: 'red' }), picture]);
  const before = JSON.stringify(page.all);
  page.context.updateInvert(1.0, false);
  assert.equal(JSON.stringify(page.all), before);
  assert.equal(page.observers.length, 0, 'nothing watches the page either');
  // A page without a body (a frameset, or a call before the body exists) does not throw.
  const bare = pageWith([], { body: false });
  assert.doesNotThrow(() => bare.context.updateInvert(1.0, true));
});

test('inverts the body and clears every background', () => {
  const div = element('DIV', { background: 'red' });
  const span = element('SPAN');
  const page = pageWith([div, span]);
  page.context.updateInvert(1.0, true);
  assert.equal(page.body.style.filter, 'invert(1) brightness(1.1)');
  for (const e of page.all) assert.equal(e.style.background, 'transparent', e.tagName);
  // Only the body carries the page-wide filter; other elements are inverted through it.
  assert.equal(div.style.filter, undefined);
  assert.equal(span.style.filter, undefined);
});

test('pictures and videos are inverted back, canvases stay inverted; the second argument defaults to on', () => {
  const img = element('IMG');
  const video = element('VIDEO');
  const canvas = element('CANVAS');
  const xhtmlImg = element('img');
  const lookalike = element('__CANVAS');
  const svg = { tagName: 'svg', style: {} };
  const math = { tagName: 'math' };
  const page = pageWith([img, video, canvas, xhtmlImg, lookalike, svg, math]);

  page.context.updateInvert(1);
  for (const e of [img, video, xhtmlImg]) assert.equal(e.style.filter, 'invert(1)', e.tagName);
  assert.equal(canvas.style.filter, undefined);
  assert.equal(lookalike.style.filter, undefined);
  assert.equal(svg.style.filter, undefined);
  assert.equal(page.body.style.filter, 'invert(1) brightness(1.1)');

  // Switching inversion off again takes every filter back to neutral.
  page.context.updateInvert(0.0, true);
  assert.equal(page.body.style.filter, 'invert(0) brightness(1.1)');
  for (const e of [img, video, xhtmlImg]) assert.equal(e.style.filter, 'invert(0)', e.tagName);
});

test('elements the page adds later get the same treatment, with the latest value', () => {
  const page = pageWith([element('DIV')]);
  page.context.updateInvert(1.0, true);
  page.context.updateInvert(1.0, true);
  assert.equal(page.observers.length, 1, 'one observer, however often the panel calls');
  assert.equal(page.observers[0].target, page.all[0]);
  assert.deepEqual({ ...page.observers[0].options }, { childList: true, subtree: true });

  // A block added later: a wrapper with a white background holding a picture.
  const picture = element('IMG');
  const wrapper = page.add(element('DIV', { background: 'white' }), [picture]);
  assert.equal(wrapper.style.background, 'transparent');
  assert.equal(wrapper.style.filter, undefined);
  assert.equal(picture.style.filter, 'invert(1)');

  page.context.updateInvert(0.0);
  const later = page.add(element('IMG'));
  assert.equal(later.style.filter, 'invert(0)');
});

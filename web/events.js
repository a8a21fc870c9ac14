// The page's raw events, passed to the game as the browser reports them
// (web/main.cpp): the primary button or a finger going down on a control and
// coming up over one, a press on a bet list, a click that needs no pointer (a
// screen reader's press), the keys, the keyboard lost, the Back button, the
// window resized. What they mean is the session's to decide.
addOnPostRun(() => {
  const game = Module;
  // Anything but an element (the page itself, say) is no control.
  const closest = (node, selector) => (node instanceof Element ? node.closest(selector) : null);
  const clickable = (node) => closest(node, '[data-id]');
  const id = (control) => (control ? Number(control.dataset.id) : -1);
  const primary = (e) => e.isPrimary && e.button === 0;
  // A touch's events all go where it began; it is let go over what is under it now.
  const under = (e) => clickable(document.elementFromPoint(e.clientX, e.clientY));
  let holding = 0;
  const letGo = () => clearTimeout(holding);

  addEventListener('pointerdown', (e) => {
    if (!primary(e)) return;
    const list = closest(e.target, '[data-list]');
    if (!list) {
      const control = clickable(e.target);
      if (control) game.press(id(control));
      return;
    }
    const entry = e.target.closest('[role=option]');
    game.pressEntry(Number(list.dataset.list), entry ? [...list.children].indexOf(entry) : -1);
    // A touch screen has no Delete key: a finger held on an entry for
    // 600 ms is a tap of Delete once the press has selected the entry.
    if (entry && e.pointerType !== 'mouse') {
      holding = setTimeout(() => {
        game.key('Delete', true);
        game.key('Delete', false);
      }, 600);
    }
  });
  addEventListener('pointerup', (e) => {
    letGo();
    if (primary(e)) game.release(id(under(e)));
  });
  // A touch that turned into a scroll, or a pointer the browser took away.
  addEventListener('pointercancel', () => {
    letGo();
    game.release(-1);
  });
  addEventListener('click', (e) => {
    const control = clickable(e.target);
    if (e.detail === 0 && control) game.click(id(control));
  });
  addEventListener('contextmenu', (e) => closest(e.target, '[data-list]') && e.preventDefault());
  addEventListener('keydown', (e) => e.repeat || game.key(e.key, true));
  addEventListener('keyup', (e) => game.key(e.key, false));
  addEventListener('blur', () => game.keyboardLost());
  addEventListener('popstate', () => game.back());
  addEventListener('resize', () => game.fit());
  // Kept for a start with no network (sw.js).
  if (navigator.serviceWorker) navigator.serviceWorker.register('sw.js').catch(() => {});
});

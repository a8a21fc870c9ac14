// The page's raw events, passed to the game (web/page.cpp) as the browser
// reports them: the primary button or a finger going down on a control and
// up over one, a press or the wheel on a bet list, a screen reader's press,
// every key, the keyboard lost, Back. What they mean is the session's to decide.
addOnPostRun(() => {
  // Anything but an element (the page itself, say) is no control.
  const closest = (node, selector) => (node instanceof Element ? node.closest(selector) : null);
  const id = (node) => Number((closest(node, '[data-id]') || { dataset: { id: -1 } }).dataset.id);
  const list = (node) => closest(node, '[role=listbox]');
  const primary = (e) => e.isPrimary && e.button === 0;
  let holding = 0;

  const press = (e, second) => {
    const bets = list(e.target);
    if (!bets) return id(e.target) >= 0 && Module.press(id(e.target), second);
    // Where in the list, at its own size: a fitted screen is drawn smaller.
    const r = bets.getBoundingClientRect();
    const scale = bets.offsetWidth / r.width;
    Module.pressList(id(bets), Math.floor((e.clientX - r.left) * scale), Math.floor((e.clientY - r.top) * scale));
    // A touch screen has no Delete key: a finger held on an entry for
    // 600 ms is a tap of Delete once the press has selected the entry.
    if (closest(e.target, '[role=option]') && pointer !== 'mouse')
      holding = setTimeout(() => [true, false].forEach((down) => Module.key('Delete', false, down)), 600);
  };
  // Only a mouse's press says which press of a double click it is; its
  // pointerdown does not, and a touch's mousedown comes after it has ended.
  let pointer = '';
  addEventListener('pointerdown', (e) => {
    pointer = e.pointerType;
    if (primary(e) && pointer !== 'mouse') press(e, false);
  });
  addEventListener('mousedown', (e) => pointer === 'mouse' && e.button === 0 && press(e, e.detail >= 2));
  // A touch's events all go where it began: it is let go over what is under it
  // now, or over nothing if cancelled (become a pinch or a pan, or taken away).
  for (const type of ['pointerup', 'pointercancel'])
    addEventListener(type, (e) => {
      clearTimeout(holding);
      if (primary(e)) Module.release(type === 'pointerup' ? id(document.elementFromPoint(e.clientX, e.clientY)) : -1);
    });
  addEventListener('click', (e) => {
    if (e.detail !== 0) return;
    const entry = closest(e.target, '[role=option]');
    if (entry) Module.pressEntry(id(entry), Number(entry.dataset.row));
    else if (id(e.target) >= 0) Module.click(id(e.target));
  });
  // The wheel's turn as the desktops count it, 120 a notch: a notch is 100
  // pixels in Chromium, 3 lines in Firefox; a page counts as a notch.
  addEventListener('wheel', (e) => {
    const bets = list(e.target);
    if (bets && e.deltaY) {
      Module.wheel(id(bets), Math.round((e.deltaY * 120) / [100, 3, 1][e.deltaMode]));
      e.preventDefault();
    }
  }, { passive: false });
  addEventListener('contextmenu', (e) => list(e.target) && e.preventDefault());
  for (const type of ['keydown', 'keyup'])
    addEventListener(type, (e) => Module.key(e.key, e.shiftKey, type === 'keydown') && e.preventDefault());
  addEventListener('blur', () => Module.keyboardLost());
  addEventListener('popstate', () => Module.back());
  // The system's high-contrast setting: forced colours are drawn in the
  // system's own colours, more contrast in the game's high-contrast look.
  const forced = matchMedia('(forced-colors: active)'), more = matchMedia('(prefers-contrast: more)');
  const contrast = () => Module.contrast(forced.matches || more.matches, forced.matches ? ['Canvas', 'CanvasText',
    'Highlight', 'LinkText', 'GrayText'].flatMap((colour) => {
    const probe = document.body.appendChild(Object.assign(document.createElement('i'), { style: `color: ${colour}` }));
    const rgb = getComputedStyle(probe).color.match(/\d+/g).slice(0, 3).map(Number);
    probe.remove();
    return rgb;
  }) : []);
  for (const query of [forced, more]) query.addEventListener('change', contrast);
  contrast();
  // A "Play" pressed before the game had loaded (index.html) goes on now.
  removeEventListener('click', window.morvikEarly);
  const play = document.querySelector('.loading [data-control=Form2] [data-control="Label1(0)"]');
  document.body.classList.remove('loading');
  if (play) Module.click(id(play));
});

'use strict';
// The touch layout: below a width where the form no longer fits at full size, or when
// the user asks for it with the button in the bar, the same controls (the same elements,
// so the same ids and the same calls into the core) are laid out for a finger in one
// column instead of drawing the form smaller. The column is worked out from the form
// description: groups of groups stand one below the other, column by column as the
// form reads; the widgets of a group stand in lines, a line being the widgets that share
// a height in the form. The final statuses are pinned to the bottom of the screen, an
// open list is a sheet from the bottom whose rows show what picking them would change,
// and a tap on a figure shows its hint (touchsheet.js). Leaving the layout puts every
// element back where it stood, so the full layout is untouched. The installer runs at
// start-up once the form stands, before the first answer.

(function (page) {
  const kNarrow = 640;  // CSS pixels: below this the form does not fit at full size
  const kLayoutKey = 'kestrel-simulator-layout';  // 'touch', 'full' or none (by width)
  const kLineSlack = 8;  // form pixels between the middles of widgets on one line

  let on = false;
  let moved = [];   // [placeholder, element] for each element the layout moved
  let made = [];    // the elements the layout made, removed when it goes
  let tagged = [];  // [element, class] added by the layout
  let toggle = null;
  let pinned = null;
  let narrow = null;
  let choice = null;  // the layout the user chose with the button, or null
  let widened = [];   // captions given a width
  const measure = document.createElement('canvas').getContext('2d');
  const pinnedSize = new ResizeObserver(() => measurePinned());

  function make(tag, className, parent) {
    const e = document.createElement(tag);
    e.className = className;
    parent.appendChild(e);
    made.push(e);
    return e;
  }

  // Takes an element out of its place, leaving a mark to put it back at.
  function move(e, into) {
    const mark = document.createComment('');
    e.replaceWith(mark);
    into.appendChild(e);
    moved.push([mark, e]);
  }

  function tag(e, className) {
    e.classList.add(className);
    tagged.push([e, className]);
  }

  // ---- Colours -------------------------------------------------------------------

  function luminance([r, g, b]) {
    const linear = (c) => {
      const s = c / 255;
      return s <= 0.04045 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
  }

  function contrast(a, b) {
    const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
  }

  // The window's colour darkened, hue kept, until it reads on white at 4.5:1 or better
  // (4.6, so that rounding to whole channels keeps it there).
  function touchShade(hex) {
    const rgb = [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));
    let shade = rgb;
    for (let f = 1; contrast(shade, [255, 255, 255]) < 4.6 && f > 0; f -= 0.02) {
      shade = rgb.map((c) => Math.round(c * f));
    }
    return '#' + shade.map((c) => c.toString(16).padStart(2, '0')).join('');
  }

  // ---- The column ----------------------------------------------------------------

  const isBox = (w) => w.kind === 'GroupBox' || w.kind === 'Page';

  // The middle of a widget's height in the form; a label without a height is a line
  // of its font.
  const middle = (w) => w.top + (w.height > 0 ? w.height : w.font.pixelSize + 4) / 2;

  // Widgets on lines: those whose middles lie within a few pixels of the line's first.
  function linesOf(ids, widgets) {
    const sorted = [...ids].sort((a, b) => middle(widgets[a]) - middle(widgets[b]));
    const result = [];
    for (const id of sorted) {
      const line = result[result.length - 1];
      if (line && middle(widgets[id]) - middle(widgets[line[0]]) <= kLineSlack) {
        line.push(id);
      } else {
        result.push([id]);
      }
    }
    for (const line of result) {
      line.sort((a, b) => widgets[a].left - widgets[b].left);
    }
    // A line of captions alone goes with the figures on the line below it.
    const caption = (id) => widgets[id].kind === 'Label' && !widgets[id].name;
    const figure = (id) => widgets[id].kind === 'Label' && widgets[id].name;
    for (let i = result.length - 2; i >= 0; --i) {
      if (result[i].every(caption) && result[i + 1].every(figure)) {
        result.splice(i, 2, [...result[i], ...result[i + 1]]);
      }
    }
    return result;
  }

  // Lays out one line's widgets in a row of their own.
  function placeLine(line, body, widgets, controls, children) {
    const row = make('div', 'touch-line', body);
    for (const id of line) {
      move(controls[id].element, row);
      arrange(id, widgets, controls, children);
      if (widgets[id].kind === 'Label' && widgets[id].focusControl >= 0) {
        tag(controls[id].hintElement, 'touch-caption');
      }
    }
  }

  // The inside of a widget that holds others, for the touch layout.
  function arrange(i, widgets, controls, children) {
    const kids = children[i];
    const w = widgets[i];
    if (kids.length === 0) {
      return;
    }
    if (w.kind === 'PageControl') {
      for (const k of kids) {
        arrange(k, widgets, controls, children);
      }
      return;
    }
    const body = make('div', 'touch-body', controls[i].content);
    if (kids.every((k) => isBox(widgets[k]))) {
      // Boxes in columns, as the form reads: left to right, each from the top down.
      const order = [...kids].sort((a, b) => widgets[a].left - widgets[b].left ||
                                              widgets[a].top - widgets[b].top);
      for (const k of order) {
        if (controls[k].element === pinned) {
          continue;
        }
        move(controls[k].element, body);
        arrange(k, widgets, controls, children);
      }
      return;
    }
    for (const line of linesOf(kids, widgets)) {
      placeLine(line, body, widgets, controls, children);
    }
    // The captions of a box share one width, so that the controls after them align.
    // Measured from the font, since the box may be on a page not on view.
    const captions = [...body.querySelectorAll(':scope > .touch-line > .touch-caption')];
    const width = (c) => {
      const style = getComputedStyle(c);
      measure.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
      return measure.measureText(c.textContent).width;
    };
    const widest = Math.ceil(Math.max(0, ...captions.map(width)));
    for (const c of captions) {
      c.style.minWidth = widest + 'px';
      widened.push(c);
    }
  }

  // The final statuses: one cell per status (its caption, figure and penalty), then
  // the other lines (distances, the PP total); its buttons go to the bar.
  function arrangePinned(i, widgets, controls, children) {
    const kStatus = ['StatCaption', 'LastStat', 'Penalty'];
    const kids = children[i];
    const body = make('div', 'touch-body', controls[i].content);
    const cells = make('div', 'touch-statuses', body);
    for (const line of linesOf(kids.filter((k) => kStatus.includes(widgets[k].bind.field)), widgets)) {
      placeLine(line, cells, widgets, controls, children);
    }
    const buttons = kids.filter((k) => widgets[k].kind === 'Button');
    const rest = kids.filter((k) => !kStatus.includes(widgets[k].bind.field) && !buttons.includes(k));
    for (const line of linesOf(rest, widgets)) {
      placeLine(line, body, widgets, controls, children);
    }
    const strip = document.querySelector('#tools > .touch-strip');
    const redo = document.getElementById('RedoButton');
    let after = redo && redo.parentElement === strip ? redo : null;
    for (const k of buttons) {
      move(controls[k].element, strip);
      strip.insertBefore(controls[k].element, after ? after.nextSibling : strip.firstChild);
      after = controls[k].element;
    }
  }

  function enter() {
    const { widgets, controls } = page;
    page.closeOpenList();
    page.hideHint();
    document.documentElement.classList.add('touch');
    // The bar's buttons on one strip that scrolls sideways.
    const tools = document.getElementById('tools');
    const strip = make('div', 'touch-strip', tools);
    tools.insertBefore(strip, tools.firstChild);
    for (const button of [...tools.querySelectorAll(':scope > button')]) {
      move(button, strip);
    }
    const children = widgets.map(() => []);
    widgets.forEach((w, i) => {
      if (w.parent >= 0) {
        children[w.parent].push(i);
      }
    });
    const last = widgets.findIndex((w) => w.bind.field === 'LastStat');
    pinned = last >= 0 ? controls[widgets[last].parent].element : null;
    widgets.forEach((w, i) => {
      // Text a finger's width can read: the window's sizes, raised.
      const size = Math.max(15, w.font.pixelSize + 3);
      for (const e of new Set([controls[i].element, controls[i].hintElement])) {
        if (e) {
          e.style.setProperty('--touch-size', size + 'px');
          if (w.textColour) {
            e.style.setProperty('--touch-colour', touchShade(w.textColour));
          }
        }
      }
    });
    arrange(0, widgets, controls, children);
    if (pinned) {
      tag(pinned, 'touch-pinned');
      arrangePinned(widgets[last].parent, widgets, controls, children);
      // The column ends clear of the statuses, however many lines they take.
      pinnedSize.observe(pinned);
    }
    on = true;
    showActiveTab();
    measurePinned();
  }

  function leave() {
    page.closeOpenList();
    pinnedSize.disconnect();
    for (const [mark, e] of moved.reverse()) {
      mark.replaceWith(e);
    }
    for (const e of made) {
      e.remove();
    }
    for (const [e, className] of tagged) {
      e.classList.remove(className);
    }
    for (const control of page.controls) {
      for (const e of [control.element, control.hintElement]) {
        if (e) {
          e.style.removeProperty('--touch-size');
          e.style.removeProperty('--touch-colour');
        }
      }
    }
    for (const e of widened) {
      e.style.minWidth = '';
    }
    widened = [];
    moved = [];
    made = [];
    tagged = [];
    on = false;
    document.documentElement.classList.remove('touch');
    document.documentElement.style.removeProperty('--touch-pinned');
  }

  // The layout the width and the user's choice ask for.
  function wanted() {
    return choice === 'touch' || (choice !== 'full' && narrow.matches);
  }

  function update() {
    const want = wanted();
    if (want !== on) {
      if (want) {
        enter();
      } else {
        leave();
      }
      for (const then of page.touch.switched) {
        then(on);
      }
    }
    toggle.setAttribute('aria-pressed', String(on));
  }

  // ---- The pinned statuses, the tabs -------------------------------------------

  function measurePinned() {
    if (on && pinned) {
      document.documentElement.style.setProperty('--touch-pinned', pinned.offsetHeight + 'px');
    }
  }

  function showActiveTab() {
    const bar = document.querySelector('.touch .tabbar');
    const tab = bar && bar.querySelector('[aria-selected="true"]');
    if (tab) {
      bar.scrollLeft = tab.offsetLeft - (bar.clientWidth - tab.offsetWidth) / 2;
    }
  }

  function install() {
    const tools = document.getElementById('tools');
    toggle = document.createElement('button');
    toggle.type = 'button';
    toggle.id = 'TouchLayoutButton';
    toggle.textContent = 'タッチ表示';
    toggle.title = '指で操作しやすい1列の表示と、ウィンドウと同じ表示を切り替えます';
    toggle.addEventListener('click', () => {
      choice = on ? 'full' : 'touch';
      try {
        localStorage.setItem(kLayoutKey, choice);
      } catch (e) {
        // Not remembered where the browser keeps no storage; switched all the same.
      }
      update();
    });
    try {
      choice = localStorage.getItem(kLayoutKey);
    } catch (e) {
      choice = null;
    }
    tools.appendChild(toggle);

    // The tab of the page on view kept in sight.
    page.answerViews.push(() => {
      if (on) {
        showActiveTab();
      }
    });

    narrow = window.matchMedia(`(max-width: ${kNarrow - 0.02}px)`);
    narrow.addEventListener('change', update);
    update();
  }

  // What the touch parts of the page share (touchsheet.js): whether the layout is on
  // view, its pinned statuses, and calls made after each switch.
  page.touch = {
    get on() { return on; },
    get pinned() { return pinned; },
    switched: [],
  };

  // For the tests: the layout on view.
  window.kestrelTouch = { get on() { return on; } };

  (window.kestrelPageModules = window.kestrelPageModules || []).push(install);
})(window.kestrelPage);

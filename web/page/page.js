'use strict';
// The page: builds the window from the core's description of it, forwards each user
// action to the core as one call and shows what the core answers (see web_face.h).
// It keeps no state of the simulation itself.

(function () {
  const kMessageTitle = 'Kestrel Status Simulator';
  const kFormWidth = 633;
  const kFormHeight = 650;
  const kTabWidth = 40;

  // The window's fonts first, so that where they are installed the page looks as the
  // window was designed; then the Japanese font the desktop stands in with.
  const kFontStacks = {
    'MS UI Gothic': '"MS UI Gothic", "IPAPGothic", "IPA P Gothic", sans-serif',
    'ＭＳ Ｐゴシック': '"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA P Gothic", sans-serif',
  };

  let core = null;
  let widgets = [];
  let controls = [];  // per widget index: what shows it
  let root = null;
  let pageControl = null;
  const hint = { pause: 50, hide: 3000, element: null, target: null, showTimer: 0, hideTimer: 0, x: 0, y: 0 };

  function fontOf(font) {
    const stack = kFontStacks[font.family] || `"${font.family}", "IPAPGothic", sans-serif`;
    return `${font.bold ? 'bold ' : ''}${font.pixelSize}px ${stack}`;
  }

  function element(tag, className, parent) {
    const e = document.createElement(tag);
    if (className) {
      e.className = className;
    }
    if (parent) {
      parent.appendChild(e);
    }
    return e;
  }

  function place(e, w, withSize) {
    e.style.left = w.left + 'px';
    e.style.top = w.top + 'px';
    if (withSize) {
      e.style.width = w.width + 'px';
      e.style.height = w.height + 'px';
    }
  }

  function describe(e, w) {
    if (w.name) {
      e.id = w.name;
    }
    if (w.accessibleName) {
      e.setAttribute('aria-label', w.accessibleName);
    }
    if (w.accessibleDescription) {
      e.setAttribute('aria-description', w.accessibleDescription);
    }
  }

  // The core keeps CR as the line break of its texts.
  const lines = (text) => text.replace(/\r\n?/g, '\n');

  // ---- Hints -------------------------------------------------------------------

  // A widget's hint as it stands now; the help cursor goes with a hint that is on.
  function setHint(control, text, helpWhenHinted) {
    const shown = lines(text);
    if (control.hintText === shown) {
      return;
    }
    control.hintText = shown;
    const e = control.hintElement;
    if (shown) {
      e.dataset.hint = shown;
    } else {
      delete e.dataset.hint;
    }
    if (helpWhenHinted) {
      e.classList.toggle('help', shown !== '');
    }
    if (hint.target === e) {
      if (shown) {
        hint.element.textContent = shown;
      } else {
        hideHint();
      }
    }
  }

  function hideHint() {
    clearTimeout(hint.showTimer);
    clearTimeout(hint.hideTimer);
    hint.element.hidden = true;
    hint.target = null;
  }

  function showHint() {
    const e = hint.target;
    if (!e || !e.dataset.hint) {
      return;
    }
    const box = hint.element;
    box.textContent = e.dataset.hint;
    box.hidden = false;
    const width = box.offsetWidth;
    const height = box.offsetHeight;
    const x = Math.max(0, Math.min(hint.x + 2, window.innerWidth - width - 2));
    let y = hint.y + 16;
    if (y + height > window.innerHeight) {
      y = Math.max(0, hint.y - height - 4);
    }
    box.style.left = x + 'px';
    box.style.top = y + 'px';
    hint.hideTimer = setTimeout(() => {
      box.hidden = true;
    }, hint.hide);
  }

  function installHints() {
    hint.element = document.getElementById('hint');
    root.addEventListener('mouseover', (event) => {
      const e = event.target.closest('[data-hint]');
      if (e === hint.target) {
        return;
      }
      hideHint();
      if (e && root.contains(e)) {
        hint.target = e;
        hint.x = event.clientX;
        hint.y = event.clientY;
        hint.showTimer = setTimeout(showHint, hint.pause);
      }
    });
    root.addEventListener('mousemove', (event) => {
      if (hint.target && hint.element.hidden) {
        hint.x = event.clientX;
        hint.y = event.clientY;
      }
    });
    root.addEventListener('mouseleave', hideHint);
    root.addEventListener('mousedown', hideHint);
    window.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        hideHint();
      }
    }, true);
  }

  // ---- The message box ---------------------------------------------------------

  const messages = [];
  const afterMessages = [];

  function showMessages(list) {
    for (const text of list) {
      messages.push(text);
    }
    const dialog = document.getElementById('message');
    if (dialog.open) {
      return;
    }
    if (messages.length > 0) {
      closeOpenList();
      hideHint();
      document.getElementById('message-text').textContent = messages.shift() + '.';
      dialog.showModal();
      document.getElementById('message-ok').focus();
      return;
    }
    for (const then of afterMessages.splice(0)) {
      then();
    }
  }

  // Runs `then` once no message box is open (at once when none is).
  function whenMessagesClosed(then) {
    afterMessages.push(then);
    showMessages([]);
  }

  function installMessageBox() {
    const dialog = document.getElementById('message');
    document.getElementById('message-title').textContent = kMessageTitle;
    document.getElementById('message-ok').addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => showMessages([]));
  }

  // ---- Calls into the core -----------------------------------------------------

  function apply(answerText) {
    const answer = JSON.parse(answerText);
    for (const part of answer.view) {
      controls[part.w].show(part);
    }
    if (answer.hintPause > 0) {
      hint.pause = answer.hintPause;
    }
    if (answer.hintHide > 0) {
      hint.hide = answer.hintHide;
    }
    showSteps(answer);
    showMessages(answer.errors);
    return answer;
  }

  // ---- Widgets -------------------------------------------------------------------

  function makeForm(w) {
    const e = element('div', 'form');
    e.id = w.name;
    e.setAttribute('role', 'application');
    e.setAttribute('aria-label', w.text);
    e.style.font = fontOf(w.font);
    if (w.background) {
      e.style.background = w.background;
    }
    return { element: e, content: e, show() {} };
  }

  function makeGroup(w) {
    const e = element('div', 'w group');
    place(e, w, true);
    if (w.name) {
      e.id = w.name;
    }
    e.setAttribute('role', 'group');
    e.setAttribute('aria-label', w.text);
    element('div', 'frame', e);
    const caption = element('div', 'caption', e);
    caption.textContent = w.text;
    return { element: e, content: e, show() {} };
  }

  function styleText(e, w) {
    e.style.font = fontOf(w.font);
    if (w.textColour) {
      e.style.color = w.textColour;
    }
  }

  function makeLabel(w) {
    const label = element('div', 'label');
    styleText(label, w);
    label.textContent = w.text;
    if (w.name) {
      label.id = w.name;
    }
    let outer = label;
    label.classList.add('w');
    if (w.anchor === 'Right') {
      // Grows to the left from the right edge that its first text gives it.
      outer = element('div', 'w anchor');
      outer.appendChild(label);
      outer.style.top = w.top + 'px';
    } else {
      label.style.left = w.left + 'px';
      label.style.top = w.top + 'px';
      if (w.anchor === 'Fixed') {
        label.style.width = w.width + 'px';
        label.style.textAlign = w.align.toLowerCase();
        label.style.overflow = 'hidden';
      }
    }
    if (w.hint) {
      label.dataset.hint = lines(w.hint);
    }
    if (w.cursor === 'Help') {
      label.classList.add('help');
    }
    const control = {
      element: outer,
      content: null,
      hintElement: label,
      shownText: w.text,
      // Called once every widget stands, to settle places that follow other texts.
      settle() {
        if (w.anchor === 'Right') {
          outer.style.left = w.left + label.offsetWidth + 'px';
        }
        if (w.leftAfter >= 0) {
          const other = controls[w.leftAfter].hintElement;
          label.style.left = Math.max(w.left, other.offsetLeft + other.offsetWidth) + 'px';
        }
      },
      show(part) {
        if (part.t !== undefined && part.t !== this.shownText) {
          label.textContent = part.t;
          this.shownText = part.t;
        }
        if (part.h !== undefined) {
          setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
    };
    return control;
  }

  // -- Lists --

  // The tip beside the highlighted row of the open list: what picking that row would
  // change, worked out by the core on a copy, so nothing shown changes until the pick.
  // Right of the open rows at the row's height, left of them where the screen has no
  // room, and moved up as far as the bottom of the screen needs.
  function showPreview(widget, r, row, rows) {
    const tip = document.getElementById('preview-tip');
    const text = lines(core.preview(widget, r));
    if (!text) {
      hidePreview();
      return;
    }
    tip.textContent = text;
    tip.hidden = false;
    const list = rows.getBoundingClientRect();
    const at = row.getBoundingClientRect();
    const width = tip.offsetWidth;
    const height = tip.offsetHeight;
    let x = list.right + 2;
    if (x + width > window.innerWidth && list.left - width - 2 >= 0) {
      x = list.left - width - 2;
    }
    const y = Math.max(0, Math.min(at.top, window.innerHeight - height));
    tip.style.left = Math.max(0, x) + 'px';
    tip.style.top = y + 'px';
    tip.dataset.widget = widget;
    tip.dataset.row = r;
  }

  function hidePreview() {
    const tip = document.getElementById('preview-tip');
    if (tip && !tip.hidden) {
      tip.hidden = true;
      delete tip.dataset.widget;
      delete tip.dataset.row;
    }
  }

  let openList = null;

  function closeOpenList() {
    if (openList) {
      openList.close();
    }
  }

  // The row a key on the closed list moves to, or -1 for none: one row up or down,
  // to the first or the last; from no selection only down (to the first row) moves.
  function keyedRow(key, index, count) {
    switch (key) {
      case 'ArrowDown':
      case 'PageDown':
        return index + 1 < count ? index + 1 : -1;
      case 'ArrowUp':
      case 'PageUp':
        return index - 1 >= 0 ? index - 1 : -1;
      case 'Home':
        return count > 0 ? 0 : -1;
      case 'End':
        return count > 0 ? count - 1 : -1;
      default:
        return -1;
    }
  }

  const measureCanvas = document.createElement('canvas').getContext('2d');

  // The element of an input widget: placed, named for assistive technology, in its
  // font, with the role it plays.
  function inputElement(w, tag, className, role) {
    const e = element(tag, `w ${className}`);
    place(e, w, true);
    describe(e, w);
    e.style.font = fontOf(w.font);
    if (role) {
      e.setAttribute('role', role);
    }
    return e;
  }

  function makeList(w, index) {
    const e = inputElement(w, 'div', 'list', 'combobox');
    e.setAttribute('aria-haspopup', 'listbox');
    e.setAttribute('aria-expanded', 'false');
    e.tabIndex = 0;
    const text = element('span', 'list-text', e);
    if (w.hint) {
      e.dataset.hint = lines(w.hint);
    }
    if (w.cursor === 'Help') {
      e.classList.add('help');
    }
    const rows = element('div', 'rows');
    rows.id = (w.name || 'list' + index) + '-rows';
    rows.setAttribute('role', 'listbox');
    rows.setAttribute('aria-label', w.accessibleName || '');
    rows.style.font = fontOf(w.font);
    rows.hidden = true;
    e.setAttribute('aria-controls', rows.id);

    const control = {
      element: e,
      content: null,
      hintElement: e,
      items: [],
      index: -2,
      enabled: true,
      current: -1,  // the highlighted row of the open list
      setItems(items) {
        this.items = items;
        rows.textContent = '';
        const fragment = document.createDocumentFragment();
        items.forEach((item, r) => {
          const row = element('div', 'row', fragment);
          row.setAttribute('role', 'option');
          row.dataset.row = r;
          row.textContent = item;
        });
        rows.appendChild(fragment);
        this.index = -2;
      },
      fit() {
        if (w.fitMaxWidth > 0) {
          measureCanvas.font = fontOf(w.font);
          let widest = 0;
          for (const item of this.items) {
            widest = Math.max(widest, Math.round(measureCanvas.measureText(item).width));
          }
          const width = Math.min(Math.max(widest + w.fitExtra, w.width), w.fitMaxWidth);
          e.style.width = width + 'px';
        }
      },
      settle() {
        root.appendChild(rows);
      },
      show(part) {
        if (part.i !== undefined && (part.i.length !== this.items.length ||
                                     part.i.some((item, r) => item !== this.items[r]))) {
          this.setItems(part.i);
        }
        if (part.v !== undefined && part.v !== this.index) {
          this.index = part.v;
          const valid = part.v >= 0 && part.v < this.items.length;
          text.textContent = valid ? this.items[part.v] : '';
          for (const row of rows.querySelectorAll('[aria-selected="true"]')) {
            row.removeAttribute('aria-selected');
          }
          if (valid) {
            rows.children[part.v].setAttribute('aria-selected', 'true');
          }
          e.dataset.index = part.v;
        }
        if (part.e !== undefined && part.e !== this.enabled) {
          this.enabled = part.e;
          e.classList.toggle('disabled', !part.e);
          e.setAttribute('aria-disabled', String(!part.e));
          e.tabIndex = part.e ? 0 : -1;
          if (!part.e) {
            if (openList === this) {
              this.close();
            }
            if (document.activeElement === e) {
              e.blur();
            }
          }
        }
      },
      highlight(r) {
        const old = rows.querySelector('.current');
        if (old) {
          old.classList.remove('current');
        }
        this.current = r;
        if (r >= 0 && r < rows.children.length) {
          const row = rows.children[r];
          row.classList.add('current');
          e.setAttribute('aria-activedescendant', rows.id + '-' + r);
          row.id = rows.id + '-' + r;
          const top = row.offsetTop;
          if (top < rows.scrollTop) {
            rows.scrollTop = top;
          } else if (top + row.offsetHeight > rows.scrollTop + rows.clientHeight) {
            rows.scrollTop = top + row.offsetHeight - rows.clientHeight;
          }
          if (openList === this) {
            showPreview(index, r, row, rows);
          }
        } else {
          hidePreview();
        }
      },
      open() {
        closeOpenList();
        hideHint();
        // The opening runs first (the club list stores its spinners), then it shows;
        // after the message box, where the opening stopped with an error.
        apply(core.open(index));
        whenMessagesClosed(() => this.showRows());
      },
      showRows() {
        if (!this.enabled) {
          return;
        }
        openList = this;
        e.classList.add('open');
        e.setAttribute('aria-expanded', 'true');
        // Below the box, as many rows as the list shows at once; where the screen
        // has no room for them below, above it.
        const origin = formPoint(e);
        const rowHeight = 16;
        const visible = Math.min(w.visibleRows || 30, Math.max(this.items.length, 1));
        rows.style.minWidth = e.offsetWidth + 'px';
        rows.style.left = origin.x + 'px';
        rows.hidden = false;
        const scale = currentScale();
        const below = (window.innerHeight - e.getBoundingClientRect().bottom) / scale - 4;
        const above = e.getBoundingClientRect().top / scale - 4;
        let height = visible * rowHeight + 4;
        let top = origin.y + e.offsetHeight;
        if (height > below && above > below) {
          height = Math.min(height, Math.max(above, rowHeight * 3));
          top = origin.y - height;
        } else if (height > below) {
          height = Math.max(below, rowHeight * 3);
        }
        rows.style.height = height + 'px';
        rows.style.top = top + 'px';
        this.highlight(this.index >= 0 ? this.index : 0);
      },
      close() {
        if (openList !== this) {
          return;
        }
        openList = null;
        hidePreview();
        rows.hidden = true;
        e.classList.remove('open');
        e.setAttribute('aria-expanded', 'false');
        e.removeAttribute('aria-activedescendant');
      },
      take(r) {
        this.close();
        if (r >= 0 && r < this.items.length) {
          apply(core.pick(index, r));
        }
      },
    };

    e.addEventListener('mousedown', (event) => {
      if (event.button !== 0 || !control.enabled) {
        return;
      }
      event.preventDefault();
      e.focus();
      if (openList === control) {
        control.close();
      } else {
        control.open();
      }
    });
    rows.addEventListener('mousedown', (event) => event.preventDefault());
    rows.addEventListener('mousemove', (event) => {
      const row = event.target.closest('.row');
      if (row && Number(row.dataset.row) !== control.current) {
        control.highlight(Number(row.dataset.row));
      }
    });
    rows.addEventListener('click', (event) => {
      const row = event.target.closest('.row');
      if (row) {
        control.take(Number(row.dataset.row));
      }
    });
    e.addEventListener('keydown', (event) => {
      if (!control.enabled) {
        return;
      }
      const key = event.key;
      if (openList === control) {
        const count = control.items.length;
        const page = Math.max(1, Math.floor(rows.clientHeight / 16) - 1);
        let r = control.current;
        switch (key) {
          case 'ArrowDown': r = Math.min(count - 1, r + 1); break;
          case 'ArrowUp': r = Math.max(0, r - 1); break;
          case 'PageDown': r = Math.min(count - 1, r + page); break;
          case 'PageUp': r = Math.max(0, r - page); break;
          case 'Home': r = 0; break;
          case 'End': r = count - 1; break;
          case 'Enter':
            event.preventDefault();
            control.take(control.current);
            return;
          case 'Escape':
          case 'F4':
          case 'Tab':
            if (key !== 'Tab') {
              event.preventDefault();
            }
            control.close();
            return;
          default:
            return;
        }
        if (key === 'ArrowDown' && event.altKey) {
          event.preventDefault();
          control.close();
          return;
        }
        event.preventDefault();
        control.highlight(r);
        return;
      }
      if (key === 'F4' || key === ' ' || (event.altKey && (key === 'ArrowDown' || key === 'ArrowUp'))) {
        event.preventDefault();
        control.open();
        return;
      }
      if (['ArrowDown', 'ArrowUp', 'PageDown', 'PageUp', 'Home', 'End'].includes(key)) {
        event.preventDefault();
        const r = keyedRow(key, control.index, control.items.length);
        if (r >= 0 && r !== control.index) {
          apply(core.pick(index, r));
        }
      }
    });
    e.addEventListener('blur', () => control.close());
    control.setItems(w.items);
    return control;
  }

  // -- Spinners --

  function makeSpinner(w, index) {
    const e = inputElement(w, 'div', 'spinner', 'spinbutton');
    e.setAttribute('aria-valuemin', '0');
    // Reached by a click, not by the Tab key.
    e.tabIndex = -1;
    const number = element('div', 'number', e);
    number.id = w.editName;
    number.setAttribute('aria-readonly', 'true');
    const arrows = element('div', 'arrows', e);
    const up = element('div', 'arrow up', arrows);
    const down = element('div', 'arrow down', arrows);
    let repeat = 0;

    const control = {
      element: e,
      content: null,
      hintElement: e,
      position: -1,
      max: -1,
      show(part) {
        if (part.m !== undefined && part.m !== this.max) {
          this.max = part.m;
          e.setAttribute('aria-valuemax', String(part.m));
        }
        if (part.v !== undefined && part.v !== this.position) {
          this.position = part.v;
          number.textContent = String(part.v);
          e.setAttribute('aria-valuenow', String(part.v));
        }
        up.classList.toggle('off', this.position >= this.max);
        down.classList.toggle('off', this.position <= 0);
        if (part.h !== undefined) {
          setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
      step(delta) {
        apply(core.step(index, delta));
      },
    };

    const stopRepeat = () => {
      clearTimeout(repeat);
      clearInterval(repeat);
      repeat = 0;
    };
    const press = (delta) => (event) => {
      if (event.button !== 0) {
        return;
      }
      event.preventDefault();
      e.focus();
      control.step(delta);
      // Held down, the arrow goes on stepping.
      stopRepeat();
      repeat = setTimeout(() => {
        repeat = setInterval(() => control.step(delta), 60);
      }, 400);
    };
    up.addEventListener('mousedown', press(1));
    down.addEventListener('mousedown', press(-1));
    for (const arrow of [up, down]) {
      arrow.addEventListener('mouseup', stopRepeat);
      arrow.addEventListener('mouseleave', stopRepeat);
    }
    window.addEventListener('mouseup', stopRepeat);
    e.addEventListener('mousedown', (event) => {
      if (event.button === 0) {
        event.preventDefault();
        e.focus();
      }
    });
    e.addEventListener('keydown', (event) => {
      if (event.key === 'ArrowUp' || event.key === 'PageUp') {
        event.preventDefault();
        control.step(1);
      } else if (event.key === 'ArrowDown' || event.key === 'PageDown') {
        event.preventDefault();
        control.step(-1);
      }
    });
    return control;
  }

  // -- Buttons --

  function makeButton(w, index) {
    const e = inputElement(w, 'button', 'button');
    e.type = 'button';
    e.textContent = w.text;
    if (w.hint) {
      e.dataset.hint = lines(w.hint);
    }
    const control = {
      element: e,
      content: null,
      hintElement: e,
      show(part) {
        if (part.h !== undefined) {
          setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
    };
    e.addEventListener('mousedown', (event) => event.preventDefault());
    e.addEventListener('click', () => {
      closeOpenList();
      apply(core.click(index));
    });
    // The buttons answer Space, not Enter, as the window's buttons do.
    e.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
      }
    });
    return control;
  }

  // -- The page control and its pages --

  function makePageControl(w) {
    const e = element('div', 'w pages');
    place(e, w, true);
    describe(e, w);
    element('div', 'pane', e);
    const bar = element('div', 'tabbar', e);
    bar.setAttribute('role', 'tablist');
    if (w.accessibleName) {
      bar.setAttribute('aria-label', w.accessibleName);
    }
    bar.tabIndex = 0;
    const control = {
      element: e,
      content: e,
      bar,
      tabs: [],
      pages: [],
      shown: -2,
      addPage(pageControl, tabCaption, pageName) {
        const i = this.tabs.length;
        const tab = element('div', 'tab', bar);
        tab.style.left = i * kTabWidth + 'px';
        tab.setAttribute('role', 'tab');
        tab.id = w.name + '-tab' + (i + 1);
        tab.setAttribute('aria-controls', pageName);
        tab.setAttribute('aria-selected', 'false');
        element('div', 'tab-fill', tab);
        const caption = element('span', 'tab-caption', tab);
        caption.textContent = tabCaption;
        tab.addEventListener('mousedown', (event) => {
          if (event.button === 0) {
            event.preventDefault();
            closeOpenList();
            apply(core.showPage(i));
          }
        });
        this.tabs.push({ tab, caption });
        this.pages.push(pageControl);
      },
      settle() {
        // Centred on the fixed tab width, as the window draws it; a caption wider than
        // the tab starts left of it (the division truncates toward zero).
        for (const { caption } of this.tabs) {
          const width = caption.offsetWidth;
          caption.style.left = 1 + Math.trunc((kTabWidth - width) / 2) + 'px';
          caption.style.top = '3px';
        }
      },
      show(part) {
        if (part.v === undefined || part.v === this.shown) {
          return;
        }
        this.shown = part.v;
        this.tabs.forEach(({ tab }, i) => {
          tab.classList.toggle('active', i === part.v);
          tab.setAttribute('aria-selected', String(i === part.v));
        });
        this.pages.forEach((page, i) => {
          page.element.hidden = i !== part.v;
        });
        e.dataset.page = part.v;
      },
    };
    // Left and Right on the focused tabs bring the next page on that side to the front.
    bar.addEventListener('keydown', (event) => {
      if (event.key !== 'ArrowLeft' && event.key !== 'ArrowRight') {
        return;
      }
      event.preventDefault();
      const from = control.shown >= 0 ? control.shown : control.tabs.length;
      const to = from + (event.key === 'ArrowLeft' ? -1 : 1);
      if (to >= 0 && to < control.tabs.length) {
        apply(core.showPage(to));
      }
    });
    bar.addEventListener('mousedown', (event) => event.preventDefault());
    pageControl = control;
    return control;
  }

  function makePage(w, index) {
    const e = element('div', 'w page');
    place(e, w, true);
    if (w.name) {
      e.id = w.name;
    }
    e.setAttribute('role', 'tabpanel');
    e.setAttribute('aria-label', w.accessibleName || w.text);
    // Every page stays on view until the first answer picks one, so that the labels
    // on it can measure their texts.
    const control = { element: e, content: e, show() {} };
    controls[w.parent].addPage(control, w.text, w.name);
    return control;
  }

  const kMakers = {
    Form: makeForm,
    GroupBox: makeGroup,
    Label: makeLabel,
    List: makeList,
    Spinner: makeSpinner,
    Button: makeButton,
    PageControl: makePageControl,
    Page: makePage,
  };

  function build(description) {
    widgets = description.widgets;
    controls = new Array(widgets.length);
    widgets.forEach((w, i) => {
      const control = kMakers[w.kind](w, i);
      controls[i] = control;
      if (w.parent >= 0) {
        controls[w.parent].content.appendChild(control.element);
      } else {
        root = control.element;
      }
      if (w.cursor === 'PointingHand') {
        control.element.style.cursor = 'pointer';
      }
    });
    document.getElementById('stage').appendChild(root);
    for (const control of controls) {
      if (control.settle) {
        control.settle();
      }
    }
    for (const control of controls) {
      if (control.fit) {
        control.fit();
      }
    }
  }

  // ---- Scale --------------------------------------------------------------------

  function currentScale() {
    return root.scale || 1;
  }

  // A widget's place in the form's own pixels.
  function formPoint(e) {
    let x = 0;
    let y = 0;
    for (let n = e; n && n !== root; n = n.offsetParent) {
      x += n.offsetLeft;
      y += n.offsetTop;
    }
    return { x, y };
  }

  // On a narrow screen the whole form is drawn smaller; it never lays out anew.
  function fit() {
    const stage = document.getElementById('stage');
    const width = document.documentElement.clientWidth;
    const scale = Math.min(1, width / kFormWidth);
    root.scale = scale;
    root.style.transform = scale < 1 ? `scale(${scale})` : '';
    stage.style.width = kFormWidth * scale + 'px';
    stage.style.height = kFormHeight * scale + 'px';
  }

  // ---- Outside the form: settings file and share link --------------------------

  function status(text) {
    document.getElementById('ToolStatus').textContent = text;
  }

  // ---- Outside the form: undo, redo and build codes -----------------------------

  function showSteps(answer) {
    if (answer.undo !== undefined) {
      document.getElementById('UndoButton').disabled = answer.undo === 0;
      document.getElementById('RedoButton').disabled = answer.redo === 0;
    }
  }

  // A user's change of the selection from outside the form: the open list closes first,
  // as a click elsewhere closes it; nothing runs while a message box waits.
  function outsideChange(call) {
    if (document.getElementById('message').open) {
      return null;
    }
    closeOpenList();
    hideHint();
    return apply(call());
  }

  const undo = () => outsideChange(() => core.undo());
  const redo = () => outsideChange(() => core.redo());

  async function copyCode() {
    const code = core.shareCode();
    try {
      await navigator.clipboard.writeText(code);
      status('ビルドコードをコピーしました。');
    } catch (e) {
      const field = document.getElementById('ShareLink');
      field.value = code;
      field.focus();
      field.select();
      const copied = document.execCommand && document.execCommand('copy');
      status(copied ? 'ビルドコードをコピーしました。' : 'ビルドコードを選択しました。コピーしてください。');
    }
  }

  function pasteText(text) {
    const answer = outsideChange(() => core.paste(text));
    if (answer && answer.errors.length === 0) {
      status('ビルドコードの設定を表示しました。');
    }
  }

  // The clipboard where the browser lets the page read it; otherwise a field that the
  // user pastes into.
  async function pasteCode() {
    const field = document.getElementById('PasteField');
    let text = null;
    try {
      text = await navigator.clipboard.readText();
    } catch (e) {
      text = null;
    }
    if (text === null) {
      field.value = '';
      field.hidden = false;
      field.focus();
      status('ビルドコードか共有リンクを欄に貼り付けてください (Ctrl+V)。');
      return;
    }
    field.hidden = true;
    pasteText(text);
  }

  function installSteps() {
    const buttons = [['UndoButton', undo], ['RedoButton', redo],
                     ['CopyCodeButton', copyCode], ['PasteCodeButton', pasteCode]];
    for (const [id, run] of buttons) {
      const button = document.getElementById(id);
      // The focus stays where it was, as with the window's keys.
      button.addEventListener('mousedown', (event) => event.preventDefault());
      button.addEventListener('click', () => run());
    }
    const field = document.getElementById('PasteField');
    field.addEventListener('paste', (event) => {
      event.preventDefault();
      field.hidden = true;
      field.blur();
      pasteText(event.clipboardData.getData('text'));
    });
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        field.hidden = true;
        field.blur();
        pasteText(field.value);
      } else if (event.key === 'Escape') {
        field.hidden = true;
        field.blur();
        status('');
      }
    });
    // The window's keys: Ctrl (Cmd on a Mac) with Z undoes, with Y or Shift+Z redoes,
    // with Shift+C and Shift+V copies and pastes a build code. A text field keeps its
    // own keys.
    window.addEventListener('keydown', (event) => {
      const command = event.ctrlKey !== event.metaKey && !event.altKey;
      const target = event.target;
      const inText = target instanceof HTMLInputElement || target instanceof HTMLTextAreaElement ||
                     (target instanceof HTMLElement && target.isContentEditable);
      if (!command || inText || document.getElementById('message').open) {
        return;
      }
      const key = event.key.toLowerCase();
      let run = null;
      if (key === 'z') {
        run = event.shiftKey ? redo : undo;
      } else if (key === 'y' && !event.shiftKey) {
        run = redo;
      } else if (key === 'c' && event.shiftKey) {
        run = copyCode;
      } else if (key === 'v' && event.shiftKey) {
        run = pasteCode;
      }
      if (run) {
        event.preventDefault();
        event.stopPropagation();
        run();
      }
    }, true);
  }

  function installTools() {
    const file = document.getElementById('ImportFile');
    document.getElementById('ImportButton').addEventListener('click', () => {
      file.value = '';
      file.click();
    });
    file.addEventListener('change', async () => {
      const picked = file.files[0];
      if (!picked) {
        return;
      }
      const bytes = new Uint8Array(await picked.arrayBuffer());
      const answer = apply(core.importSettings(bytes));
      status(answer.errors.length === 0
        ? `${picked.name} を読み込みました。`
        : `${picked.name} は読み込めませんでした。保存した設定のままです。`);
    });
    document.getElementById('ExportButton').addEventListener('click', () => {
      const bytes = core.storedBytes();
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      link.download = core.storeName();
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      status(`保存した設定を ${core.storeName()} として書き出しました。`);
    });
    document.getElementById('ShareButton').addEventListener('click', async () => {
      const url = location.href.split('#')[0] + '#' + core.shareCode();
      const field = document.getElementById('ShareLink');
      field.value = url;
      try {
        await navigator.clipboard.writeText(url);
        status('共有リンクをコピーしました。');
      } catch (e) {
        field.focus();
        field.select();
        const copied = document.execCommand && document.execCommand('copy');
        status(copied ? '共有リンクをコピーしました。' : '共有リンクを選択しました。コピーしてください。');
      }
    });
  }

  // ---- Start ---------------------------------------------------------------------

  function buildCodeOf(hash) {
    return hash.startsWith('#') ? hash.slice(1) : hash;
  }

  async function start() {
    core = await window.KestrelCore();
    build(JSON.parse(core.formJson()));
    fit();
    window.addEventListener('resize', fit);
    installHints();
    installMessageBox();
    installTools();
    installSteps();
    // The modules joined in before this script (the build search dialog).
    for (const install of window.kestrelPageModules || []) {
      install({ core, change: outsideChange, status });
    }
    document.addEventListener('mousedown', (event) => {
      if (openList && !event.target.closest('.rows') && !openList.element.contains(event.target)) {
        closeOpenList();
      }
    }, true);
    apply(core.start(buildCodeOf(location.hash)));
    window.addEventListener('hashchange', () => {
      const code = buildCodeOf(location.hash);
      if (code) {
        closeOpenList();
        apply(core.openLink(code));
      }
    });
    // Hidden or closed: the active page is kept, as the window's close keeps it.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') {
        apply(core.close());
      }
    });
    window.addEventListener('pagehide', () => apply(core.close()));
    // Ready once the frame with the first answer is drawn.
    requestAnimationFrame(() => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        window.kestrelPaintedMs = performance.now() - window.kestrelStart;
        document.documentElement.dataset.ready = 'true';
      };
      channel.port2.postMessage(0);
    });
  }

  // For the tests and benchmarks: the core's calls, the form description, the controls.
  window.kestrel = {
    get core() { return core; },
    get widgets() { return widgets; },
    get controls() { return controls; },
  };

  start();
})();

'use strict';
// Lists: a box showing the picked row that opens its rows below it (above where the
// screen has no room), picked by mouse or keys, with the tip of what picking the
// highlighted row would change; only one list is open at a time.

(function (page) {
  const { element, fontOf, lines, inputElement } = page;

  // The tip beside the highlighted row of the open list: what picking that row would
  // change, worked out by the core on a copy, so nothing shown changes until the pick.
  // Right of the open rows at the row's height, left of them where the screen has no
  // room, and moved up as far as the bottom of the screen needs.
  function showPreview(widget, r, row, rows) {
    const tip = document.getElementById('preview-tip');
    const text = lines(page.core.preview(widget, r));
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
  page.closeOpenList = closeOpenList;
  // The open list's control, or null.
  Object.defineProperty(page, 'openList', { get: () => openList });

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
        page.root.appendChild(rows);
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
        page.hideHint();
        // The opening runs first (the club list stores its spinners), then it shows;
        // after the message box, where the opening stopped with an error.
        page.apply(page.core.open(index));
        page.whenMessagesClosed(() => this.showRows());
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
        const origin = page.formPoint(e);
        const rowHeight = 16;
        const visible = Math.min(w.visibleRows || 30, Math.max(this.items.length, 1));
        rows.style.minWidth = e.offsetWidth + 'px';
        rows.style.left = origin.x + 'px';
        rows.hidden = false;
        const scale = page.currentScale();
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
          page.apply(page.core.pick(index, r));
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
          page.apply(page.core.pick(index, r));
        }
      }
    });
    e.addEventListener('blur', () => control.close());
    control.setItems(w.items);
    return control;
  }

  page.makers.List = makeList;

  // A click outside the open list and its rows closes it.
  page.installLists = function () {
    document.addEventListener('mousedown', (event) => {
      if (openList && !event.target.closest('.rows') && !openList.element.contains(event.target)) {
        closeOpenList();
      }
    }, true);
  };
})(window.kestrelPage);

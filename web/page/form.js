'use strict';
// The form: its widgets made from the core's description (each kind by its maker, the
// lists, spinners and tabs in their own modules), settled once all stand, and the whole
// form drawn smaller on a screen narrower than it.

(function (page) {
  const kFormWidth = 633;
  const kFormHeight = 650;
  const { element, place, fontOf, lines } = page;

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

  // The width of a text in a font as the browser lays it out, measured without a layout
  // of the page.
  let measure = null;
  function textWidth(text, font) {
    if (!measure) {
      measure = document.createElement('canvas').getContext('2d');
    }
    measure.font = font;
    return measure.measureText(text).width;
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
    const font = page.fontOf(w.font);
    // A fixed label keeps the window's place and width while its text fits; a browser
    // whose font measures the text wider (Firefox, by a pixel or two) would cut it, so
    // the label then grows to its text on the side its alignment leaves free: both
    // sides evenly when centred (by whole pixels each), leftwards when right-aligned,
    // rightwards when left-aligned.
    const fitFixed = (text) => {
      const extra = Math.max(0, Math.ceil(textWidth(text, font)) - w.width);
      const grow = w.align === 'Center' ? extra + (extra % 2) : extra;
      const left = w.align === 'Center' ? w.left - grow / 2 : w.align === 'Right' ? w.left - grow : w.left;
      label.style.left = left + 'px';
      label.style.width = w.width + grow + 'px';
    };
    if (w.anchor === 'Fixed') {
      fitFixed(w.text);
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
          const other = page.controls[w.leftAfter].hintElement;
          label.style.left = Math.max(w.left, other.offsetLeft + other.offsetWidth) + 'px';
        }
      },
      show(part) {
        if (part.t !== undefined && part.t !== this.shownText) {
          label.textContent = part.t;
          this.shownText = part.t;
          if (w.anchor === 'Fixed') {
            fitFixed(part.t);
          }
        }
        if (part.h !== undefined) {
          page.setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
    };
    return control;
  }

  function makeButton(w, index) {
    const e = page.inputElement(w, 'button', 'button');
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
          page.setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
    };
    e.addEventListener('mousedown', (event) => event.preventDefault());
    e.addEventListener('click', () => {
      page.closeOpenList();
      page.apply(page.core.click(index));
    });
    // The buttons answer Space, not Enter, as the window's buttons do.
    e.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
      }
    });
    return control;
  }

  Object.assign(page.makers, { Form: makeForm, GroupBox: makeGroup, Label: makeLabel, Button: makeButton });

  page.build = function (description) {
    const widgets = description.widgets;
    const controls = new Array(widgets.length);
    page.widgets = widgets;
    page.controls = controls;
    widgets.forEach((w, i) => {
      const control = page.makers[w.kind](w, i);
      controls[i] = control;
      if (w.parent >= 0) {
        controls[w.parent].content.appendChild(control.element);
      } else {
        page.root = control.element;
      }
      if (w.cursor === 'PointingHand') {
        control.element.style.cursor = 'pointer';
      }
    });
    document.getElementById('stage').appendChild(page.root);
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
  };

  // ---- Scale --------------------------------------------------------------------

  page.currentScale = function () {
    return page.root.scale || 1;
  };

  // A widget's place in the form's own pixels.
  page.formPoint = function (e) {
    let x = 0;
    let y = 0;
    for (let n = e; n && n !== page.root; n = n.offsetParent) {
      x += n.offsetLeft;
      y += n.offsetTop;
    }
    return { x, y };
  };

  // On a narrow screen the whole form is drawn smaller; it never lays out anew.
  page.fit = function () {
    const root = page.root;
    const stage = document.getElementById('stage');
    const width = document.documentElement.clientWidth;
    const scale = Math.min(1, width / kFormWidth);
    root.scale = scale;
    root.style.transform = scale < 1 ? `scale(${scale})` : '';
    stage.style.width = kFormWidth * scale + 'px';
    stage.style.height = kFormHeight * scale + 'px';
  };
})(window.kestrelPage);

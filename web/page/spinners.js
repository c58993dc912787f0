'use strict';
// Spinners: a number with an up and a down arrow, stepped by the core within the limit it
// gives; a held arrow goes on stepping, and the Up and Down keys step too.

(function (page) {
  const { element, inputElement } = page;

  function makeSpinner(w, index) {
    const e = inputElement(w, 'div', 'spinner', 'spinbutton');
    e.setAttribute('aria-valuemin', '0');
    // Reached by a click, not by the Tab key.
    e.tabIndex = -1;
    const number = element('div', 'number', e);
    number.id = w.editName;
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
          page.setHint(this, part.h, w.cursor === 'HelpWhenHinted');
        }
      },
      step(delta) {
        page.apply(page.core.step(index, delta));
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

  page.makers.Spinner = makeSpinner;
})(window.kestrelPage);

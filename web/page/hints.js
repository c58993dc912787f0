'use strict';
// Hints: the help text of a caption or a figure, shown in a box beside the pointer after
// the core's pause and hidden again after its time, as the window's hints.

(function (page) {
  const hint = { pause: 50, hide: 3000, element: null, target: null, showTimer: 0, hideTimer: 0, x: 0, y: 0 };

  // The pause before a hint shows and the time it stays, where an answer gives them.
  page.setHintTimes = function (pause, hide) {
    if (pause > 0) {
      hint.pause = pause;
    }
    if (hide > 0) {
      hint.hide = hide;
    }
  };

  // A widget's hint as it stands now; the help cursor goes with a hint that is on.
  page.setHint = function (control, text, helpWhenHinted) {
    const shown = page.lines(text);
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
  };

  function hideHint() {
    clearTimeout(hint.showTimer);
    clearTimeout(hint.hideTimer);
    hint.element.hidden = true;
    hint.target = null;
  }
  page.hideHint = hideHint;

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

  page.installHints = function () {
    const root = page.root;
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
  };
})(window.kestrelPage);

'use strict';
// The page: builds the window from the core's description of it, forwards each user
// action to the core as one call and shows what the core answers (see web_face.h).
// It keeps no state of the simulation itself.
//
// The page's code is split into modules by what they do, joined into one script in the
// order web/tools/assemble.mjs gives (this one first, start.js last). They share one
// object, window.kestrelPage, which this module makes:
//   core       the core's calls (set at start-up)
//   widgets    the form description: one entry per widget, a parent before its children
//   controls   per widget index, what shows it: { element, content, show(part), ... }
//   root       the form's element; makers: per widget kind, make(w, index) -> control
//   apply(answerText)  shows a core's answer; returns it parsed
//   answerViews        functions called with every answer once the controls show it (a
//                      second layout of the same controls keeps itself current there)
// and each module adds its own calls to it (page.hideHint, page.closeOpenList, ...).

(function () {
  // The window's fonts first, so that where they are installed the page looks as the
  // window was designed; then the Japanese font the desktop stands in with.
  const kFontStacks = {
    'MS UI Gothic': '"MS UI Gothic", "IPAPGothic", "IPA P Gothic", sans-serif',
    'ＭＳ Ｐゴシック': '"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA P Gothic", sans-serif',
  };

  const page = {
    core: null,
    widgets: [],
    controls: [],
    root: null,
    makers: {},
    answerViews: [],
  };
  window.kestrelPage = page;

  page.fontOf = function (font) {
    const stack = kFontStacks[font.family] || `"${font.family}", "IPAPGothic", sans-serif`;
    return `${font.bold ? 'bold ' : ''}${font.pixelSize}px ${stack}`;
  };

  page.element = function (tag, className, parent) {
    const e = document.createElement(tag);
    if (className) {
      e.className = className;
    }
    if (parent) {
      parent.appendChild(e);
    }
    return e;
  };

  // An element of a dialog built from a description: its attributes ("class" as its
  // class name), under `parent`, with `text`.
  page.dialogElement = function (tag, attributes, parent, text) {
    const e = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) {
      if (name === 'class') {
        e.className = value;
      } else {
        e.setAttribute(name, value);
      }
    }
    if (text !== undefined) {
      e.textContent = text;
    }
    if (parent) {
      parent.appendChild(e);
    }
    return e;
  };

  // A text of a dialog's description with its {0}, {1}, ... filled in order.
  page.filledText = (template, figures) =>
    template.replace(/\{(\d)\}/g, (_, n) => String(figures[Number(n)] ?? ''));

  page.place = function (e, w, withSize) {
    e.style.left = w.left + 'px';
    e.style.top = w.top + 'px';
    if (withSize) {
      e.style.width = w.width + 'px';
      e.style.height = w.height + 'px';
    }
  };

  page.describe = function (e, w) {
    if (w.name) {
      e.id = w.name;
    }
    if (w.accessibleName) {
      e.setAttribute('aria-label', w.accessibleName);
    }
    if (w.accessibleDescription) {
      e.setAttribute('aria-description', w.accessibleDescription);
    }
  };

  // The element of an input widget: placed, named for assistive technology, in its
  // font, with the role it plays.
  page.inputElement = function (w, tag, className, role) {
    const e = page.element(tag, `w ${className}`);
    page.place(e, w, true);
    page.describe(e, w);
    e.style.font = page.fontOf(w.font);
    if (role) {
      e.setAttribute('role', role);
    }
    return e;
  };

  // The core keeps CR as the line break of its texts.
  page.lines = (text) => text.replace(/\r\n?/g, '\n');

  // A field a code is pasted or typed into: the paste itself goes on as in any field (a
  // field that stops pastes fails the user and the audit); the code is read from it at
  // once, or at Enter, and the field goes. Escape closes it where `closed` is given.
  page.readsPastedCode = function (field, read, closed) {
    const close = () => {
      field.hidden = true;
      field.blur();
    };
    field.addEventListener('paste', (event) => {
      close();
      read(event.clipboardData.getData('text'));
    });
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') {
        event.preventDefault();
        close();
        read(field.value);
      } else if (event.key === 'Escape' && closed) {
        close();
        closed();
      }
    });
  };

  // ---- Calls into the core -----------------------------------------------------

  page.apply = function (answerText) {
    const answer = JSON.parse(answerText);
    for (const part of answer.view) {
      page.controls[part.w].show(part);
    }
    page.setHintTimes(answer.hintPause, answer.hintHide);
    page.showSteps(answer);
    for (const view of page.answerViews) {
      view(answer);
    }
    page.showMessages(answer.errors);
    return answer;
  };

  // A user's change of the selection from outside the form: the open list closes first,
  // as a click elsewhere closes it; nothing runs while a message box waits.
  page.change = function (call) {
    if (document.getElementById('message').open) {
      return null;
    }
    page.closeOpenList();
    page.hideHint();
    return page.apply(call());
  };
})();

'use strict';
// The message box: the core's errors, one box at a time, each closed with OK before the
// next shows; a question in the same box, with a button per choice; what waits for the
// boxes to close runs after the last.

(function (page) {
  const kMessageTitle = 'Kestrel Status Simulator';
  // What waits to show: { text, choices (null for a message with OK), then(choice) }.
  const queue = [];
  const afterMessages = [];
  let shown = null;  // what the box shows, until a choice or the close has answered it

  function showNext() {
    const dialog = document.getElementById('message');
    if (dialog.open) {
      return;
    }
    if (queue.length > 0) {
      page.closeOpenList();
      page.hideHint();
      shown = queue.shift();
      document.getElementById('message-text').textContent = shown.text;
      const ok = document.getElementById('message-ok');
      const buttons = document.getElementById('message-buttons');
      for (const button of buttons.querySelectorAll('.choice')) {
        button.remove();
      }
      dialog.classList.toggle('question', shown.choices !== null);
      ok.hidden = shown.choices !== null;
      if (shown.choices === null) {
        dialog.showModal();
        ok.focus();
        return;
      }
      shown.choices.forEach((caption, i) => {
        const button = page.element('button', 'choice', buttons);
        button.type = 'button';
        button.id = i === 0 ? 'message-yes' : 'message-no';
        button.textContent = caption;
        // The choice runs at once, with the box closed, before anything else can.
        button.addEventListener('click', () => {
          const asked = shown;
          shown = null;
          dialog.close();
          if (asked) {
            asked.then(i);
          }
        });
      });
      dialog.showModal();
      // The choice that loses nothing has the focus, so that Enter keeps things as they are.
      buttons.lastElementChild.focus();
      return;
    }
    for (const then of afterMessages.splice(0)) {
      then();
    }
  }

  page.showMessages = function (list) {
    for (const text of list) {
      queue.push({ text: text + '.', choices: null });
    }
    showNext();
  };

  // Asks `text` with a button per choice, the first the one that acts; `then` gets the
  // index of the button pressed, or -1 when the box was closed otherwise (Escape).
  page.ask = function (text, choices, then) {
    queue.push({ text, choices, then });
    showNext();
  };

  // Runs `then` once no message box is open (at once when none is).
  page.whenMessagesClosed = function (then) {
    afterMessages.push(then);
    showNext();
  };

  page.installMessageBox = function () {
    const dialog = document.getElementById('message');
    document.getElementById('message-title').textContent = kMessageTitle;
    document.getElementById('message-ok').addEventListener('click', () => {
      shown = null;
      dialog.close();
    });
    // A question closed without a choice (Escape) is answered at once, as a choice is: the
    // close event comes later, when a choice may already have shown the next box.
    dialog.addEventListener('cancel', () => {
      const closed = shown;
      shown = null;
      if (closed && closed.then) {
        closed.then(-1);
      }
    });
    dialog.addEventListener('close', () => showNext());
  };
})(window.kestrelPage);

'use strict';
// The message box: the core's errors, one box at a time, each closed with OK before the
// next shows; what waits for the boxes to close runs after the last.

(function (page) {
  const kMessageTitle = 'Kestrel Status Simulator';
  const messages = [];
  const afterMessages = [];

  page.showMessages = function (list) {
    for (const text of list) {
      messages.push(text);
    }
    const dialog = document.getElementById('message');
    if (dialog.open) {
      return;
    }
    if (messages.length > 0) {
      page.closeOpenList();
      page.hideHint();
      document.getElementById('message-text').textContent = messages.shift() + '.';
      dialog.showModal();
      document.getElementById('message-ok').focus();
      return;
    }
    for (const then of afterMessages.splice(0)) {
      then();
    }
  };

  // Runs `then` once no message box is open (at once when none is).
  page.whenMessagesClosed = function (then) {
    afterMessages.push(then);
    page.showMessages([]);
  };

  page.installMessageBox = function () {
    const dialog = document.getElementById('message');
    document.getElementById('message-title').textContent = kMessageTitle;
    document.getElementById('message-ok').addEventListener('click', () => dialog.close());
    dialog.addEventListener('close', () => page.showMessages([]));
  };
})(window.kestrelPage);

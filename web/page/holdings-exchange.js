'use strict';
// The 持ち物 dialog's exchange of holdings: as a code (on the clipboard, or in a field where
// the browser keeps the clipboard closed) and as a file (downloaded, or picked). What
// cannot be read changes nothing and says why. Joined in before holdings.js, which hands
// it the dialog's parts.

(function () {
  const kSelectCode = '持ち物コードを選択しました。コピーしてください。';
  const kPasteHere = '持ち物コードを欄に貼り付けてください (Ctrl+V)。';

  // `s`: the page's calls (page), the dialog's elements by name (byName: codeField and
  // file), text(key, ...figures) of the description, say(message), show(holdings) into
  // the checks and readJson() of the checks.
  window.kestrelPage.holdingsExchange = function (s) {
    const { byName, text, say, show, readJson } = s;
    const answerOf = (call) => JSON.parse(call());

    async function copyCode() {
      const answer = answerOf(() => s.page.core.holdingsCode(readJson()));
      if (answer.errors.length > 0) {
        say(answer.errors[0] + '。');
        return;
      }
      try {
        await navigator.clipboard.writeText(answer.code);
        byName.codeField.hidden = true;
        say(text('codeCopied'));
      } catch (e) {
        byName.codeField.value = answer.code;
        byName.codeField.hidden = false;
        byName.codeField.select();
        say(kSelectCode);
      }
    }

    // A code that cannot be read changes nothing and says why.
    function readCode(code) {
      const answer = answerOf(() => s.page.core.readHoldingsCode(code));
      if (answer.errors.length > 0) {
        say(answer.errors[0] + '。');
        return;
      }
      show(answer.holdings);
      say(text('codeRead'));
    }

    async function pasteCode() {
      let code = null;
      try {
        code = await navigator.clipboard.readText();
      } catch (e) {
        code = null;
      }
      if (code === null) {
        byName.codeField.value = '';
        byName.codeField.hidden = false;
        byName.codeField.focus();
        say(kPasteHere);
        return;
      }
      byName.codeField.hidden = true;
      readCode(code);
    }

    function exportFile() {
      const answer = answerOf(() => s.page.core.exportHoldings(readJson()));
      const name = s.page.core.holdingsName();
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([answer.text], { type: 'application/json' }));
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      say(text('exported', name));
    }

    // A file that cannot be read changes nothing and says why.
    async function importFile() {
      const picked = byName.file.files[0];
      if (!picked) {
        return;
      }
      const bytes = new Uint8Array(await picked.arrayBuffer());
      const answer = answerOf(() => s.page.core.importHoldings(bytes));
      if (answer.errors.length > 0) {
        say(text('importFailed', picked.name, answer.errors[0]));
        return;
      }
      show(answer.holdings);
      say(text('imported', picked.name));
    }

    // A picked file is read at once; a code pasted or typed into the field is read as
    // the field closes.
    function connect() {
      byName.file.addEventListener('change', importFile);
      s.page.readsPastedCode(byName.codeField, readCode);
    }

    return { copyCode, pasteCode, exportFile, connect };
  };
})();

'use strict';
// The bar's tools outside the form: undo and redo, the settings file read and written,
// the share link, the build code copied and pasted, and the status line that says what
// they did.

(function (page) {
  // What the last tool did, in the status line of the bar.
  const status = page.status = function (text) {
    document.getElementById('ToolStatus').textContent = text;
  };

  // ---- Undo, redo and build codes ------------------------------------------------

  page.showSteps = function (answer) {
    if (answer.undo !== undefined) {
      document.getElementById('UndoButton').disabled = answer.undo === 0;
      document.getElementById('RedoButton').disabled = answer.redo === 0;
    }
  };

  const undo = () => page.change(() => page.core.undo());
  const redo = () => page.change(() => page.core.redo());

  async function copyCode() {
    const code = page.core.shareCode();
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
    const answer = page.change(() => page.core.paste(text));
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

  page.installSteps = function () {
    const buttons = [['UndoButton', undo], ['RedoButton', redo],
                     ['CopyCodeButton', copyCode], ['PasteCodeButton', pasteCode]];
    for (const [id, run] of buttons) {
      const button = document.getElementById(id);
      // The focus stays where it was, as with the window's keys.
      button.addEventListener('mousedown', (event) => event.preventDefault());
      button.addEventListener('click', () => run());
    }
    page.readsPastedCode(document.getElementById('PasteField'), pasteText, () => status(''));
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
  };

  // ---- The licence, the settings file and the share link ----------------------

  page.installTools = function () {
    // The licence's text, inside the page (it was put in when the page was made).
    const licence = document.getElementById('LicenseDialog');
    document.getElementById('LicenseButton').addEventListener('click', () => {
      page.closeOpenList();
      page.hideHint();
      licence.showModal();
    });
    document.getElementById('LicenseClose').addEventListener('click', () => licence.close());
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
      const imported = (answer) => status(answer.errors.length === 0
        ? `${picked.name} を読み込みました。`
        : `${picked.name} は読み込めませんでした。保存した設定のままです。`);
      const answer = page.apply(page.core.importSettings(bytes));
      if (answer.ask !== 'importOver') {
        imported(answer);
        return;
      }
      // Another tab saved since this one loaded or saved: nothing is written unless the
      // user says so.
      page.askImportOver(picked.name, (over) => {
        if (over) {
          imported(page.apply(page.core.importSettingsOver(bytes)));
        } else {
          status(`${picked.name} は読み込みませんでした。別のタブで保存された設定のままです。`);
        }
      });
    });
    document.getElementById('ExportButton').addEventListener('click', () => {
      const bytes = page.core.storedBytes();
      const link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      link.download = page.core.storeName();
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
      status(`保存した設定を ${page.core.storeName()} として書き出しました。`);
    });
    document.getElementById('ShareButton').addEventListener('click', async () => {
      const url = location.href.split('#')[0] + '#' + page.core.shareCode();
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
  };
})(window.kestrelPage);

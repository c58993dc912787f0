'use strict';
// The stored settings shared with the page's other tabs: a save or a settings file's
// import over settings that another tab saved since this one loaded or saved asks first,
// and a tab that comes back to the front after another tab saved offers to load what it
// saved. The core finds out (it compares what it last loaded or saved with what is
// stored now, apart from what a close writes); this module asks.

(function (page) {
  const kQuestions = {
    overwrite: {
      text: '別のタブで保存された設定があります。\nこのタブの設定で上書きして保存しますか？',
      choices: ['上書き保存', '保存しない'],
      run: () => page.core.saveOver(),
    },
    load: {
      text: '別のタブで設定が保存されました。\nその設定を読み込みますか？',
      choices: ['読み込む', '読み込まない'],
      run: () => page.core.reload(),
    },
  };

  // The import's question names the file; the bytes stay with the caller.
  const kImportOver = {
    text: (name) => `別のタブで保存された設定があります。\n${name} の設定で上書きして保存しますか？`,
    choices: ['上書き保存', '読み込まない'],
  };

  // Asks whether the settings file `name` overwrites another tab's save; `then` gets
  // true when the user chose to overwrite, false when the other tab's settings stay.
  page.askImportOver = function (name, then) {
    page.ask(kImportOver.text(name), kImportOver.choices, (choice) => then(choice === 0));
  };

  page.answerViews.push((answer) => {
    const question = kQuestions[answer.ask];
    if (!question) {
      return;
    }
    page.ask(question.text, question.choices, (choice) => {
      if (choice === 0) {
        page.change(question.run);
      }
    });
  });

  page.installStored = function () {
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'visible' && !document.getElementById('message').open) {
        page.apply(page.core.front());
      }
    });
  };
})(window.kestrelPage);

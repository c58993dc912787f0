'use strict';
// The stored settings shared with the page's other tabs: a save over settings that
// another tab saved since this one loaded or saved asks first, and a tab that comes back
// to the front after another tab saved offers to load what it saved. The core finds out
// (it compares what it last loaded or saved with what is stored now, apart from what a
// close writes); this module asks.

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

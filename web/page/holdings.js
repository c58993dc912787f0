'use strict';
// The dialog "持ち物": what the player owns, built from the core's description of it (the
// same the window builds its dialog from): a tab per character page and one for the
// lists every page shares, each list with a check per entry, its count and "すべて" /
// "なし"; the filter by text, the counts and "すべて" / "なし" of the whole; the code and
// the file out and in. The checks are the dialog's copy of the holdings: "OK" hands it
// to the core, which keeps it (asking first over another tab's holdings), "キャンセル"
// and Escape drop it. Joined in after the search dialog; start-up calls install().

(function () {
  const kestrelPage = window.kestrelPage;
  // What the dialog asks and says beyond the description's texts.
  const kOverwrite = {
    text: '別のタブで保存された持ち物があります。\nこのダイアログの持ち物で上書きして保存しますか？',
    choices: ['上書き保存', '保存しない'],
  };
  const kOtherTab = '別のタブで持ち物が保存されました。「OK」で保存すると上書きするか確かめます。';
  const kButtonHint = '持っている装備・カード・キャディ・クラブを記録します。持っていない項目は一覧に印が付きます';

  let page = null;   // the page's calls
  let form = null;   // the core's description of the dialog
  let dialog = null;
  const byName = {};  // the dialog's elements by object name
  const lists = [];   // per list: {def, count, checks (per entry), rows (per entry)}
  let tabs = [];      // per page: {tab, panel}

  const element = kestrelPage.dialogElement;

  // A text of the description with its {0}, {1}, ... filled.
  function text(key, ...figures) {
    return kestrelPage.filledText(form.texts[key], figures);
  }

  function named(e, name, hint) {
    e.id = name;
    byName[name] = e;
    if (hint) {
      e.title = hint;
    }
    return e;
  }

  // ---- The holdings the checks show, as the core's JSON and back -------------------

  // A list owned whole is left out; any other names the entries owned.
  function readJson() {
    const holdings = {};
    for (const list of lists) {
      const owned = [];
      list.checks.forEach((check, i) => {
        if (check.checked) {
          owned.push(i);
        }
      });
      if (owned.length === list.checks.length) {
        continue;
      }
      if (list.def.chara >= 0) {
        const items = holdings.items = holdings.items || {};
        const slots = items[list.def.chara] = items[list.def.chara] || {};
        slots[list.def.key.slice(list.def.key.indexOf('.') + 1)] = owned;
      } else {
        holdings[list.def.kind] = owned;
      }
    }
    return JSON.stringify(holdings);
  }

  // Shows holdings the core wrote (a list not named: owned whole).
  function show(holdings) {
    for (const list of lists) {
      const def = list.def;
      const slot = def.key.slice(def.key.indexOf('.') + 1);
      const listed = def.chara >= 0 ? holdings.items?.[def.chara]?.[slot] : holdings[def.kind];
      const owned = listed ? new Set([...listed, ...def.none]) : null;
      list.checks.forEach((check, i) => {
        check.checked = owned === null || owned.has(i);
      });
    }
    showCounts();
  }

  function ownedOf(list) {
    return list.checks.filter((check) => check.checked).length;
  }

  function showCounts() {
    let owned = 0;
    let total = 0;
    for (const list of lists) {
      const n = ownedOf(list);
      list.count.textContent = text('count', n, list.checks.length);
      owned += n;
      total += list.checks.length;
    }
    byName.HoldingsCount.textContent = text('count', owned, total);
  }

  // Every entry of the lists given owned, or none but "なし".
  function setOwned(which, owned) {
    for (const list of which) {
      for (const check of list.checks) {
        check.checked = owned || check.disabled;
      }
    }
    showCounts();
  }

  // The filter's test, as the core's: the text contains it, ASCII letters of either case
  // alike.
  const foldAscii = (s) => s.replace(/[A-Z]/g, (c) => c.toLowerCase());
  function filter() {
    const wanted = foldAscii(byName.HoldingsFilter.value);
    for (const list of lists) {
      list.rows.forEach((row, i) => {
        row.hidden = !foldAscii(list.def.entries[i]).includes(wanted);
      });
    }
  }

  function say(message) {
    byName.HoldingsMessage.textContent = message;
  }

  // ---- Building ----------------------------------------------------------------------

  function buildList(def, parent) {
    const box = element('fieldset', { class: 'holdings-list' }, parent);
    element('legend', {}, box, def.caption);
    const head = element('div', { class: 'list-head' }, box);
    const count = named(element('span', { class: 'count' }, head), def.countName);
    const list = { def, count, checks: [], rows: [] };
    for (const [name, key, owned] of [[def.allName, 'listAll', true], [def.noneName, 'listNone', false]]) {
      const button = named(element('button', { type: 'button' }, head, text(key)), name);
      button.setAttribute('aria-label', `${def.caption} ${text(key)}`);
      button.addEventListener('click', () => setOwned([list], owned));
    }
    const entries = named(element('div', { class: 'entries', role: 'group', 'aria-label': def.caption }, box),
                          def.name);
    def.entries.forEach((entry, i) => {
      const row = element('label', { class: 'entry' }, entries);
      const check = element('input', { type: 'checkbox' }, row);
      element('span', {}, row, entry);
      if (def.none.includes(i)) {
        check.checked = true;
        check.disabled = true;
        row.title = text('noneAlways');
      }
      list.checks.push(check);
      list.rows.push(row);
    });
    entries.addEventListener('change', showCounts);
    lists.push(list);
  }

  function showTab(index) {
    tabs.forEach(({ tab, panel }, i) => {
      tab.setAttribute('aria-selected', String(i === index));
      tab.tabIndex = i === index ? 0 : -1;
      panel.hidden = i !== index;
    });
  }

  function buildPages(holder) {
    const bar = element('div', { class: 'tabs', role: 'tablist' }, holder);
    tabs = form.pages.map((p, i) => {
      const tab = element('button', { type: 'button', role: 'tab', id: `HoldingsTab_${i}`,
                                      'aria-controls': `HoldingsPage_${i}` }, bar, p.caption);
      const panel = element('div', { class: 'page', role: 'tabpanel', id: `HoldingsPage_${i}`,
                                     'aria-labelledby': tab.id }, holder);
      for (const def of p.lists) {
        buildList(def, panel);
      }
      tab.addEventListener('click', () => showTab(i));
      return { tab, panel };
    });
    // Left and Right move along the tabs, as the window's tabs do.
    bar.addEventListener('keydown', (event) => {
      const at = tabs.findIndex(({ tab }) => tab === document.activeElement);
      const step = event.key === 'ArrowRight' ? 1 : event.key === 'ArrowLeft' ? -1 : 0;
      if (at >= 0 && step !== 0) {
        event.preventDefault();
        const next = (at + step + tabs.length) % tabs.length;
        showTab(next);
        tabs[next].tab.focus();
      }
    });
    showTab(0);
  }

  // The controls in the window's places: the filter, the whole's buttons and count at the
  // top, the pages, the code and file buttons with the message, then "OK" and
  // "キャンセル".
  function build() {
    dialog = element('dialog', { id: 'HoldingsDialog', 'aria-labelledby': 'HoldingsTitle' }, document.body);
    element('div', { id: 'HoldingsTitle', class: 'title' }, dialog, form.title);
    const head = element('div', { class: 'head' }, dialog);
    const pages = element('div', { class: 'pages' }, dialog);
    const foot = element('div', { class: 'foot' }, dialog);
    const closing = element('div', { class: 'closing' }, dialog);
    for (const c of form.controls) {
      if (c.kind === 'Filter') {
        const label = element('label', { class: 'filter' }, head, c.caption);
        named(element('input', { type: 'search', placeholder: text('filterHint') }, label), c.name, c.hint);
      } else if (c.kind === 'Count') {
        named(element('span', { class: 'count', role: 'status' }, head), c.name);
      } else if (c.kind === 'Pages') {
        named(pages, c.name);
        buildPages(pages);
      } else if (c.kind === 'Message') {
        named(element('span', { class: 'message', role: 'status', 'aria-live': 'polite' }, foot), c.name);
      } else if (c.kind === 'Button') {
        const parent = c.closes ? closing : (c.name === 'HoldingsAll' || c.name === 'HoldingsNone' ? head : foot);
        const button = named(element('button', { type: 'button' }, parent, c.caption), c.name, c.hint);
        if (c.default) {
          button.classList.add('default');
        }
      }
    }
    // The message after the buttons, the field for a code the clipboard would not give.
    foot.appendChild(byName.HoldingsMessage);
    byName.codeField = element('input', { type: 'text', id: 'HoldingsCodeField', class: 'code', 'aria-label': '持ち物コード', hidden: '' });
    foot.insertBefore(byName.codeField, byName.HoldingsMessage);
    byName.file = element('input', { type: 'file', accept: '.json,application/json,text/plain', hidden: '' }, foot);
    connect();
  }

  // ---- What the buttons do -----------------------------------------------------------

  const answerOf = (call) => JSON.parse(call());

  // The core keeps the checks; the dialog closes once they are written. Over another
  // tab's holdings it asks first, and stays open with its checks when told not to.
  function keep() {
    const json = readJson();
    const kept = (answer) => {
      if (answer && answer.kept) {
        dialog.close();
      }
    };
    const answer = page.apply(page.core.keepHoldings(json));
    if (answer.ask === 'holdingsOverwrite') {
      page.ask(kOverwrite.text, kOverwrite.choices, (choice) => {
        if (choice === 0) {
          kept(page.apply(page.core.keepHoldingsOver(json)));
        }
      });
      return;
    }
    kept(answer);
  }

  function connect() {
    const exchange = kestrelPage.holdingsExchange({ page, byName, text, say, show, readJson });
    const runs = {
      HoldingsAll: () => setOwned(lists, true),
      HoldingsNone: () => setOwned(lists, false),
      HoldingsCopyCode: exchange.copyCode,
      HoldingsPasteCode: exchange.pasteCode,
      HoldingsExport: exchange.exportFile,
      HoldingsImport: () => {
        byName.file.value = '';
        byName.file.click();
      },
      HoldingsOk: keep,
      HoldingsCancel: () => dialog.close(),
    };
    for (const [name, run] of Object.entries(runs)) {
      byName[name].addEventListener('click', () => run());
    }
    byName.HoldingsFilter.addEventListener('input', filter);
    exchange.connect();
  }

  function open() {
    page.closeOpenList();
    page.hideHint();
    const answer = answerOf(() => page.core.openHoldings());
    byName.HoldingsFilter.value = '';
    byName.codeField.hidden = true;
    filter();
    show(answer.holdings);
    say(answer.problem);
    if (!dialog.open) {
      dialog.showModal();
    }
  }

  function install(calls) {
    page = calls;
    form = JSON.parse(page.core.holdingsForm());
    build();
    const button = element('button', { type: 'button', id: 'HoldingsButton', title: kButtonHint },
                           null, form.title + '…');
    button.setAttribute('aria-haspopup', 'dialog');
    document.getElementById('tools').insertBefore(button, document.getElementById('ToolStatus'));
    button.addEventListener('click', open);
    page.answerViews.push((answer) => {
      if (answer.holdingsChanged && dialog.open) {
        say(kOtherTab);
      }
    });
    // For the tests: the dialog opened and the checks as the core's JSON.
    window.kestrel.holdings = { open, get json() { return readJson(); } };
  }

  (window.kestrelPageModules = window.kestrelPageModules || []).push(install);
})();

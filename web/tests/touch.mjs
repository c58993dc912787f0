// User actions in the touch layout, done with taps on a phone's screen (a context with
// touch and a mobile viewport): the same action words as the mouse's (browser.mjs), so
// that the window's run of them (the oracle) is the same.

import { codeCommand, takeMessages } from './browser.mjs';

// A tap at the middle of an element, scrolled to the middle of its scroller first. The
// element must be the one under the finger: a control covered by the pinned statuses,
// the bar or a sheet is a fault of the layout.
export async function tapAt(page, selector) {
  const at = await page.evaluate((selector) => {
    const e = document.querySelector(selector);
    if (!e) {
      return null;
    }
    e.scrollIntoView({ block: 'center', inline: 'center' });
    const box = e.getBoundingClientRect();
    const x = box.left + box.width / 2;
    const y = box.top + box.height / 2;
    if (box.width === 0 || box.height === 0) {
      return { x, y, covered: 'nothing: not shown' };
    }
    const hit = document.elementFromPoint(x, y);
    return { x, y, covered: hit && !e.contains(hit) ? hit.id || hit.className : null };
  }, selector);
  if (!at) {
    throw new Error('nothing to tap at ' + selector);
  }
  if (at.covered) {
    throw new Error(`${selector} is covered by ${at.covered}`);
  }
  await page.touchscreen.tap(at.x, at.y);
}

// Closes every message box that is open with a tap on OK, and answers their texts.
export const takeMessagesByTap = (page) => takeMessages(page, tapAt);

// A tap on a list; the texts of the message boxes an opening that stopped brought up.
async function openSheet(page, name) {
  await tapAt(page, '#' + name);
  const early = await takeMessagesByTap(page);
  await page.waitForFunction((name) => document.getElementById(name).classList.contains('open') ||
    document.getElementById(name).getAttribute('aria-disabled') === 'true', name);
  return early;
}

// A tap on the dimmed page above the sheet closes it.
async function closeSheet(page) {
  if (await page.evaluate(() => !document.getElementById('sheet-backdrop').hidden)) {
    await page.touchscreen.tap(20, 20);
  }
}

// What the open sheet of a list shows: each row's preview, whether the sheet stands at
// the bottom of the screen, and which rows are marked as the current one.
const sheetOf = (page, name) => page.evaluate((name) => {
  const rows = document.getElementById(name + '-rows');
  const box = rows.getBoundingClientRect();
  return {
    open: !rows.hidden,
    previews: [...rows.children].map((row) => row.dataset.preview),
    atBottom: Math.abs(box.bottom - window.innerHeight) < 1 && box.left === 0 &&
              Math.abs(box.right - window.innerWidth) < 1,
    marked: [...rows.children].filter((row) => getComputedStyle(row, '::before').content.includes('\u2713'))
      .map((row) => Number(row.dataset.row)),
    selected: Number(document.getElementById(name).dataset.index),
  };
}, name);

// One action as a finger does it: the mouse's words, except that keys have no place.
// Answers the texts of the message boxes that came up before its last step; a preview
// leaves its row's text, and whether the sheet showed it rightly, in page.extra.
export async function performByTap(page, action) {
  let early = [];
  const [verb, name, arg] = action.split(' ');
  page.extra = {};
  switch (verb) {
    case 'undo':
    case 'redo':
      await tapAt(page, verb === 'undo' ? '#UndoButton' : '#RedoButton');
      break;
    case 'copy':
      await codeCommand(page, 'button', null, '#CopyCodeButton', 'ビルドコードをコピーしました。', tapAt);
      page.extra.copied = await page.evaluate(() => navigator.clipboard.readText());
      break;
    case 'paste':
      await page.evaluate((text) => navigator.clipboard.writeText(text), action.split(' ').slice(2).join(' '));
      await codeCommand(page, 'button', null, '#PasteCodeButton', 'ビルドコードの設定を表示しました。', tapAt);
      break;
    case 'preview': {
      early = await openSheet(page, name);
      const sheet = await sheetOf(page, name);
      page.extra.tip = sheet.open ? sheet.previews[Number(arg)] : '';
      // Every row has its preview at once, the sheet stands at the bottom, and the
      // selected row alone is marked.
      const marked = sheet.selected >= 0 ? [sheet.selected] : [];
      page.extra.tipPlaced = !sheet.open || (sheet.previews.every((p) => typeof p === 'string') &&
        sheet.atBottom && JSON.stringify(sheet.marked) === JSON.stringify(marked));
      await closeSheet(page);
      const after = await sheetOf(page, name);
      page.extra.tipGone = !after.open && after.previews.every((p) => p === undefined);
      break;
    }
    case 'pick':
      early = await openSheet(page, name);
      await tapAt(page, `#${name}-rows > [data-row="${arg}"]`);
      break;
    case 'open':
      early = await openSheet(page, name);
      await closeSheet(page);
      break;
    case 'arrow':
      await tapAt(page, `#${name} .arrow.${arg}`);
      break;
    case 'tab':
      await tapAt(page, `#PageControl1-tab${Number(name) + 1}`);
      break;
    case 'click':
      await tapAt(page, '#' + name);
      break;
    default:
      throw new Error('no tap for ' + action);
  }
  return early;
}

// An action of the mouse and keyboard as a finger does the same: the bar's buttons for
// the keys of undo, redo, copy and paste; a tab for the arrow keys on the tabs; the
// arrows for the keys on a spinner; the next row picked for a key on a closed list.
export function forTouch(action, shown) {
  const words = action.split(' ');
  const [verb, name, arg] = words;
  switch (verb) {
    case 'undo':
    case 'redo':
      return `${verb} button`;
    case 'copy':
      return 'copy button';
    case 'paste':
      return ['paste', 'button', ...words.slice(2)].join(' ');
    case 'preview':
      return `preview ${name} ${arg} tap`;
    case 'key': {
      const down = arg === 'Down' || arg === 'Right';
      if (name === 'PageControl1') {
        const page = Math.max(0, Math.min(9, Number(shown['PageControl1.page']) + (down ? 1 : -1)));
        return `tab ${page}`;
      }
      if (shown[name + '.value'] !== undefined) {
        return `arrow ${name} ${arg === 'Up' ? 'up' : 'down'}`;
      }
      const count = shown[name + '.items'].split('\n').length;
      const row = Number(shown[name + '.index']) + (down ? 1 : -1);
      return `pick ${name} ${Math.max(0, Math.min(count - 1, row))}`;
    }
    default:
      return action;
  }
}

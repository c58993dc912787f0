'use strict';
// What a finger opens in the touch layout (touch.js): a list as a sheet from the bottom,
// each of its rows with what picking it would change under its text, the current row
// marked; − and + that go on stepping while held; a hint by a tap on its caption or
// figure, kept until the next touch; the phone's own share sheet for a share link where
// the browser has one; the status line of the bar shown above the pinned statuses for a
// while.

(function (page) {
  const kToastTime = 4000;  // ms the status line shows
  const kHeldPause = 400;   // ms a finger rests on − or + before it goes on stepping
  const kHeldStep = 60;     // ms between the steps then, as under the mouse

  let shareSheet = null;
  let backdrop = null;

  // ---- Lists as sheets -----------------------------------------------------------

  // Every row of an opened list shows what picking it would change, worked out by the
  // core on a copy after the opening ran.
  function listOpened(e) {
    const { widgets, controls } = page;
    const index = widgets.findIndex((w) => w.name === e.id);
    if (index < 0) {
      return;
    }
    const w = widgets[index];
    const rows = document.getElementById(e.getAttribute('aria-controls'));
    const title = [w.accessibleName, e.dataset.hint || ''].filter((t) => t).join('\n');
    rows.dataset.title = title;
    for (const row of rows.children) {
      row.dataset.preview = page.lines(page.core.preview(index, Number(row.dataset.row)));
    }
    document.documentElement.classList.add('sheet-open');
    backdrop.hidden = false;
    const selected = controls[index].index;
    const row = rows.children[selected];
    if (row) {
      rows.scrollTop = row.offsetTop - rows.clientHeight / 3;
    }
  }

  function listClosed(e) {
    const rows = document.getElementById(e.getAttribute('aria-controls'));
    for (const row of rows.querySelectorAll('[data-preview]')) {
      delete row.dataset.preview;
    }
    delete rows.dataset.title;
    if (!document.querySelector('.list.open')) {
      document.documentElement.classList.remove('sheet-open');
      backdrop.hidden = true;
    }
  }

  // ---- Hints by a tap --------------------------------------------------------------

  function hideHint() {
    const box = document.getElementById('hint');
    if (box && box.classList.contains('tapped')) {
      box.classList.remove('tapped');
      box.hidden = true;
    }
  }

  function showHint(e) {
    const box = document.getElementById('hint');
    box.textContent = e.dataset.hint;
    box.hidden = false;
    box.classList.add('tapped');
    const at = e.getBoundingClientRect();
    const width = box.offsetWidth;
    const height = box.offsetHeight;
    const x = Math.max(8, Math.min(at.left, window.innerWidth - width - 8));
    let y = at.bottom + 6;
    const pinned = page.touch.pinned;
    const room = window.innerHeight - (pinned && !pinned.contains(e) ? pinned.offsetHeight : 0);
    if (y + height > room) {
      y = Math.max(8, at.top - height - 6);
    }
    box.style.left = x + 'px';
    box.style.top = y + 'px';
  }

  // ---- − and + held -----------------------------------------------------------------

  // A finger held on − or + goes on stepping, as a held arrow does under the mouse; a
  // short tap steps once through the click the browser makes of it. A finger that moves
  // away (the page scrolls) stops it.
  function installHeldSteps(stage) {
    let repeat = 0;
    let held = false;  // the finger went on stepping: the click made at its lift is no step
    const stop = () => {
      clearTimeout(repeat);
      clearInterval(repeat);
      repeat = 0;
    };
    stage.addEventListener('pointerdown', (event) => {
      held = false;
      const arrow = event.target.closest('.arrow');
      if (!page.touch.on || event.pointerType !== 'touch' || !arrow) {
        return;
      }
      const index = page.widgets.findIndex((w) => w.name === arrow.closest('.spinner').id);
      const delta = arrow.classList.contains('up') ? 1 : -1;
      stop();
      repeat = setTimeout(() => {
        held = true;
        page.controls[index].step(delta);
        repeat = setInterval(() => page.controls[index].step(delta), kHeldStep);
      }, kHeldPause);
    });
    for (const type of ['pointerup', 'pointercancel', 'pointerleave']) {
      stage.addEventListener(type, stop, true);
    }
    stage.addEventListener('mousedown', (event) => {
      if (held && event.target.closest('.arrow')) {
        held = false;
        event.preventDefault();
        event.stopPropagation();
      }
    }, true);
    // The long press's own menu does not come up over the arrows.
    stage.addEventListener('contextmenu', (event) => {
      if (page.touch.on && event.target.closest('.arrow')) {
        event.preventDefault();
      }
    });
  }

  // ---- The share sheet -------------------------------------------------------------

  function showShareSheet() {
    shareSheet.hidden = !(page.touch.on && typeof navigator.share === 'function');
  }

  // The phone's own share sheet with the link to the build shown now; the copy of the
  // link where the sheet fails.
  async function shareLink() {
    const url = location.href.split('#')[0] + '#' + page.core.shareCode();
    document.getElementById('ShareLink').value = url;
    try {
      await navigator.share({ title: document.title, url });
      page.status('共有リンクを渡しました。');
    } catch (e) {
      if (e && e.name === 'AbortError') {
        page.status('');
      } else {
        document.getElementById('ShareButton').click();
      }
    }
  }

  function install() {
    shareSheet = document.createElement('button');
    shareSheet.type = 'button';
    shareSheet.id = 'ShareSheetButton';
    shareSheet.textContent = '共有リンクを送る';
    shareSheet.title = '今の設定を開くリンクを端末の共有メニューで送ります';
    shareSheet.hidden = true;
    shareSheet.addEventListener('click', shareLink);
    document.getElementById('tools').insertBefore(shareSheet, document.getElementById('ShareButton'));

    backdrop = document.createElement('div');
    backdrop.id = 'sheet-backdrop';
    backdrop.hidden = true;
    // A tap beside the sheet closes it; a browser that sends no mousedown for a tap on
    // an element without a listener of its own still sends the click.
    backdrop.addEventListener('click', () => page.closeOpenList());
    document.body.appendChild(backdrop);

    page.touch.switched.push(() => {
      hideHint();
      showShareSheet();
    });

    // Lists opening and closing.
    const stage = document.getElementById('stage');
    new MutationObserver((changes) => {
      for (const change of changes) {
        const e = change.target;
        // A sheet closed by the switch to the full layout goes too.
        if (e.classList.contains('list')) {
          if (e.getAttribute('aria-expanded') !== 'true') {
            listClosed(e);
          } else if (page.touch.on) {
            listOpened(e);
          }
        }
      }
    }).observe(stage, { subtree: true, attributes: true, attributeFilter: ['aria-expanded'] });

    installHeldSteps(stage);

    // A tap on a caption or a figure with a hint shows it until the next touch.
    document.addEventListener('pointerdown', hideHint, true);
    window.addEventListener('scroll', hideHint, true);
    stage.addEventListener('click', (event) => {
      if (!page.touch.on) {
        return;
      }
      const e = event.target.closest('[data-hint]');
      if (e && !e.matches('.list, .button') && !event.target.closest('.arrow')) {
        showHint(e);
      }
    });

    // The status line of the bar shows above the pinned statuses for a while.
    const status = document.getElementById('ToolStatus');
    let toastTimer = 0;
    new MutationObserver(() => {
      status.classList.toggle('fresh', status.textContent !== '');
      clearTimeout(toastTimer);
      toastTimer = setTimeout(() => status.classList.remove('fresh'), kToastTime);
    }).observe(status, { childList: true, characterData: true, subtree: true });
  }

  (window.kestrelPageModules = window.kestrelPageModules || []).push(install);
})(window.kestrelPage);

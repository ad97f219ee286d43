'use strict';
// A phone's brush on the big screen: its touches on the picture go to the show as shares of
// the picture's width and height, over a WebSocket to the page's own host.
(() => {
  const board = document.getElementById('board');
  const picture = document.getElementById('picture');
  const status = document.getElementById('status');
  const message = document.getElementById('message');
  const retry = document.getElementById('retry');
  const toolButtons = [...document.querySelectorAll('#tools button')];

  // The show drops a brush's messages beyond 120 a second; moves go at most one a frame of
  // a 60 Hz screen, whatever the phone's own rate.
  const moveInterval = 1000 / 60;

  let socket = null;
  let tool = 0;
  let boardShape = null; // [width, height] from the show, until the picture has loaded
  let generation = null;
  let finger = null; // the touch that paints, by identifier
  let pendingMove = null;
  let lastMove = -Infinity;
  let full = false;

  function showStatus(text, canRetry) {
    message.textContent = text;
    retry.hidden = !canRetry;
    status.hidden = false;
  }

  function send(text) {
    if (socket !== null && socket.readyState === WebSocket.OPEN) {
      socket.send(text);
    }
  }

  function connect() {
    full = false;
    showStatus('Connecting...', false);
    const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
    const opened = new WebSocket(`${scheme}//${location.host}/brush`);
    socket = opened;
    opened.onopen = () => send(`tool ${tool}`);
    opened.onmessage = (event) => {
      if (typeof event.data === 'string') {
        heard(event.data.trim().split(/\s+/));
      }
    };
    opened.onclose = () => {
      if (socket !== opened) {
        return;
      }
      socket = null;
      finger = null;
      pendingMove = null;
      if (full) {
        showStatus('The board is full - try again in a moment', true);
      } else {
        showStatus('Connection lost', true);
      }
    };
  }

  function heard(words) {
    const [kind, ...numbers] = words;
    const values = numbers.map(Number);
    if (kind === 'hello' && values.length === 4 && values.every(Number.isFinite)) {
      status.hidden = true;
      showPicture(values[1], values[2], values[3]);
    } else if (kind === 'picture' && values.length === 3 && values.every(Number.isFinite)) {
      showPicture(values[0], values[1], values[2]);
    } else if (kind === 'full') {
      full = true;
      showStatus('The board is full - try again in a moment', false);
    }
  }

  function showPicture(newGeneration, width, height) {
    if (width > 0 && height > 0) {
      boardShape = [width, height];
    }
    if (newGeneration !== generation) {
      generation = newGeneration;
      picture.src = `picture?g=${encodeURIComponent(newGeneration)}`;
    }
  }

  // The touch's place as shares of the shown picture, which fits the board area whole and
  // centred; a touch on the black around it counts at the picture's nearest edge.
  function shares(touch) {
    const area = board.getBoundingClientRect();
    const [width, height] = picture.naturalWidth > 0
      ? [picture.naturalWidth, picture.naturalHeight]
      : (boardShape ?? [area.width, area.height]);
    const scale = Math.min(area.width / width, area.height / height);
    const shownWidth = width * scale;
    const shownHeight = height * scale;
    const left = area.left + (area.width - shownWidth) / 2;
    const top = area.top + (area.height - shownHeight) / 2;
    const share = (value) => Math.min(1, Math.max(0, value)).toFixed(6);
    return `${share((touch.clientX - left) / shownWidth)} ${share((touch.clientY - top) / shownHeight)}`;
  }

  const painting = (list) => [...list].find((touch) => touch.identifier === finger);

  board.addEventListener('touchstart', (event) => {
    event.preventDefault();
    if (finger !== null || socket === null || socket.readyState !== WebSocket.OPEN) {
      return;
    }
    const touch = event.changedTouches[0];
    finger = touch.identifier;
    pendingMove = null;
    send(`down ${shares(touch)}`);
  }, { passive: false });

  board.addEventListener('touchmove', (event) => {
    event.preventDefault();
    const touch = painting(event.changedTouches);
    if (touch === undefined) {
      return;
    }
    if (pendingMove === null) {
      requestAnimationFrame(sendMove);
    }
    pendingMove = shares(touch);
  }, { passive: false });

  function sendMove(now) {
    if (pendingMove === null) {
      return;
    }
    if (now - lastMove < moveInterval - 1) {
      requestAnimationFrame(sendMove);
      return;
    }
    lastMove = now;
    send(`move ${pendingMove}`);
    pendingMove = null;
  }

  // The lift's own place ends the stroke: a move still waiting would only repeat it.
  function lift(event) {
    event.preventDefault();
    const touch = painting(event.changedTouches);
    if (touch === undefined) {
      return;
    }
    finger = null;
    pendingMove = null;
    send(`up ${shares(touch)}`);
  }
  board.addEventListener('touchend', lift, { passive: false });
  board.addEventListener('touchcancel', lift, { passive: false });

  for (const button of toolButtons) {
    button.addEventListener('click', () => {
      tool = Number(button.dataset.tool);
      for (const other of toolButtons) {
        other.setAttribute('aria-pressed', String(other === button));
      }
      send(`tool ${tool}`);
    });
  }

  retry.addEventListener('click', () => {
    if (socket === null) {
      connect();
    }
  });

  connect();
})();

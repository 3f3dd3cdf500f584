// The browser's side of the web platform, passed to the linker with
// --js-library. It keeps the toolchain's SDL event handling (keys, mouse
// and touch on the canvas, with the canvas's CSS scaling undone) and
// replaces what differs from SDL 1.2 or from the game's needs:
// - SDL_Init also works where there is no page (the replay runner under
//   node), and makes the audio context at the player's first key or click;
// - the clock stands still while the page is hidden or its window has lost
//   the focus, so a match resumes where it was instead of jumping by the
//   time away;
// - SDL_GetKeyState tells how many keys its array holds;
// - a finger on the canvas is the mouse, and the page's controls press the
//   right button and Escape (Module.velmoraPress);
// - a click or a touchpad's tap too quick for the game's looks at the
//   buttons still counts at one of them;
// - while the game loads, it gives the browser its turn every 10 ms;
// - pads are read once a pass, from the first press that shows them, as
//   joystick events, and one that goes lets go of its buttons;
// - the display reaches the canvas once a refresh (web_video.cpp);
// - sounds play through Web Audio from the samples web_sound.cpp read.

mergeInto(LibraryManager.library, {
  // exit: the C library's, which every emscripten has (the runtime's own
  // exit function changed its name between versions).
  $VelmoraWeb__deps: ['$Asyncify', 'exit'],
  $VelmoraWeb__postset: 'addOnPostRun(function() { VelmoraWeb.awaitMainsEnd(); });',
  $VelmoraWeb: {
    clockStart: null,
    awaySince: null,
    awayTotal: 0,
    blurred: false,
    canvasListening: false,
    ctx: null,
    image: null,
    pictures: 0,
    audio: null,
    dummyAudio: false,
    buffers: [null],
    channels: [],
    drains: 0,      // event queue drains so far: one a pass of the game's loop
    presses: [],    // buttons and keys held by fingers and the page's controls
    keysHeld: {},   // the keys they hold in the keyboard state
    finger: null,   // the press of the fingers on the canvas
    fingers: 0,     // how many there are
    padsPolled: -1, // the drain that last read the pads
    firstInput: null,
    mouseDowns: {}, // buttons pressed on the canvas: the drain, a move before, a look that saw them
    keyDowns: {},   // keys down on the keyboard: whether a look saw them
    keysWatched: false,
    movedX: 0,      // the pointer at the end of the last drain
    movedY: 0,
    made: {},       // the page's files made in the file system so far
    waiting: false, // for a file
    sliceFrom: 0,   // when the game's run in this task began (velmora_turn)
    turned: false,
    channel: null,  // afterTurn's
    afterTurns: [],
    loading: false, // a file opened since the last picture

    // The game samples the buttons and keys once a pass and never sees press
    // events, and the menus test the click point of the pass before. So a
    // press shows from the second drain after it came, when the pointer it
    // moved has reached the click point, and lets go no sooner than the drain
    // after the one that first saw it.
    press: function(kind, code) {
      var press = { kind: kind, code: code, from: VelmoraWeb.drains + 2, seenAt: -1, lifted: false };
      VelmoraWeb.presses.push(press);
      return press;
    },

    // Buttons (a mask) or keys (code: true) held now by the presses of kind.
    held: function(kind) {
      var drains = VelmoraWeb.drains, now = kind == 'button' ? 0 : {};
      VelmoraWeb.presses = VelmoraWeb.presses.filter(function(press) {
        if (press.kind != kind) return true;
        if (press.lifted && (press.seenAt < 0 ? press.cancelled : drains > press.seenAt)) return false;
        if (drains >= press.from) {
          if (press.seenAt < 0) press.seenAt = drains;
          if (kind == 'button') now |= press.code; else now[press.code] = true;
        }
        return true;
      });
      return now;
    },

    // A tap of a touchpad (and a quick click) sends the press and the
    // release at once, both taken in one drain: the buttons' state never
    // shows it. A press of the mouse that ends before any look saw it held
    // counts as held at the looks of one pass: the next one, or where the
    // pointer moved in the same drain, the one after, as the menus test the
    // click point of the pass before. For that reason a press that came
    // after a move in its drain shows from the pass after its own, and is
    // held there when it is let go in the next drain. Other presses that a
    // look saw are the buttons' state alone, as before.
    noteMouse: function(before, now) {
      var W = VelmoraWeb;
      var moved = Browser.mouseX != W.movedX || Browser.mouseY != W.movedY;
      for (var code = 1; code <= 4; code <<= 1) {
        if ((now & code) && !(before & code)) W.mouseDowns[code] = { seen: false, drain: W.drains, moved: moved };
        var down = W.mouseDowns[code];
        if (!(now & code) && (before & code) && down) {
          var from = down.moved || moved ? down.drain + 2 : W.drains + 1;
          if (from > W.drains && (!down.seen || down.moved))
            W.presses.push({ kind: 'button', code: code, from: from, seenAt: -1, lifted: true });
        }
        if (!(now & code)) delete W.mouseDowns[code];
      }
    },

    // A key let go in the drain of its press, or before any look saw it
    // (a main thread busy for longer than the key was held: both events
    // come in one drain), counts as held at the look of the pass after its
    // drain, as a quick click does. Keys that a look saw are the keyboard's
    // state alone, as before.
    noteKey: function(down, code) {
      var W = VelmoraWeb;
      if (down) {
        if (!W.keyDowns[code]) W.keyDowns[code] = { seen: false };
        return;
      }
      if (W.keyDowns[code] && !W.keyDowns[code].seen)
        W.presses.push({ kind: 'key', code: code, from: W.drains + 1, seenAt: -1, lifted: true });
      delete W.keyDowns[code];
    },

    // A finger is the mouse: the crosshair's centre, the game's click point
    // 25 pixels right of and below the pointer, comes under it. One finger
    // holds the left button; a second one turns the gesture into the right
    // button, which opens the aim, without the left one that would charge.
    touch: function(e) {
      e.preventDefault();  // no mouse events made from it, no zoom or scroll
      var W = VelmoraWeb, fingers = e.targetTouches.length;
      if (e.type == 'touchstart' && fingers >= 2 && W.fingers < 2) {
        if (W.finger) W.finger.lifted = W.finger.cancelled = true;
        W.finger = W.press('button', 4);
      } else if (e.type == 'touchstart' && !W.finger) {
        W.finger = W.press('button', 1);
      }
      if (W.finger && W.finger.code == 1) {
        var touch = e.targetTouches[0] || e.changedTouches[0];
        W.pointTo(touch.clientX, touch.clientY);
      }
      if (!fingers && W.finger) {
        W.finger.lifted = true;
        W.finger = null;
      }
      W.fingers = fingers;
    },

    // Pads, by the Gamepad API, as SDL 1.2's joystick events, each pad's
    // number its place in navigator.getGamepads(). The toolchain's own
    // polling sees only the pads opened at start-up, and a browser shows a
    // pad only from its first button press, so every pad that shows plays
    // here without being opened; one that goes lets go of what it held. Its
    // first button press also starts the sound, where the browser lets it.
    gamepads: function() {
      if (typeof navigator == 'undefined' || !navigator.getGamepads) return [];
      try {
        return navigator.getGamepads() || [];
      } catch (e) {
        return [];  // denied to the page by its permissions policy
      }
    },

    pollPads: function() {
      var pads = VelmoraWeb.gamepads(), states = SDL.lastJoystickState, seen = {};
      var send = function(joystick, buttons, axes) {
        if (SDL.joystickEventState === 0) return;
        var last = states[joystick] || { buttons: [], axes: [] }, pressed = false;
        buttons.forEach(function(down, button) {
          if (down == !!last.buttons[button]) return;
          pressed = pressed || down;
          SDL.events.push({ type: down ? 'joystick_button_down' : 'joystick_button_up',
                            joystick: joystick, index: joystick - 1, button: button });
        });
        axes.forEach(function(value, axis) {
          if (value == (last.axes[axis] || 0)) return;
          SDL.events.push({ type: 'joystick_axis_motion', joystick: joystick, index: joystick - 1,
                            axis: axis, value: value });
        });
        if (pressed && VelmoraWeb.firstInput) VelmoraWeb.firstInput(false);
      };
      for (var i = 0; i < pads.length; ++i) {
        var pad = pads[i];
        if (!pad || pad.connected === false) continue;
        var buttons = [], axes = [];
        for (var b = 0; b < pad.buttons.length; ++b) {
          var button = pad.buttons[b];
          buttons.push(typeof button == 'object' ? !!button.pressed : button > 0.5);
        }
        for (var a = 0; a < pad.axes.length; ++a) axes.push(Number(pad.axes[a]) || 0);
        send(i + 1, buttons, axes);
        seen[i + 1] = true;
        states[i + 1] = { buttons: buttons, axes: axes, timestamp: pad.timestamp, index: i, id: pad.id };
      }
      for (var joystick in states) {
        if (seen[joystick]) continue;
        send(Number(joystick), states[joystick].buttons.map(function() { return false; }),
             states[joystick].axes.map(function() { return 0; }));
        delete states[joystick];
      }
    },

    // Queues a mouse motion that puts the click point at the page point.
    pointTo: function(clientX, clientY) {
      var canvas = Module['canvas'], box = canvas.getBoundingClientRect();
      var sx = box.width / canvas.width, sy = box.height / canvas.height;
      var at = function(client, start, scale, size) {
        var g = Math.min(Math.max(Math.floor((client - start) / scale), 0), size - 1);
        return start + (Math.max(g - 25, 0) + 0.5) * scale;
      };
      SDL.events.push({ type: 'mousemove',
                        pageX: at(clientX, box.left, sx, canvas.width) + window.scrollX,
                        pageY: at(clientY, box.top, sy, canvas.height) + window.scrollY });
    },

    // main gives the browser its turn at every delay and flip, so it
    // returns long after the runtime's own start-up has stopped waiting
    // for it; its end (return or exit) is then taken here, and the page
    // hears of it through Module.onExit.
    awaitMainsEnd: function() {
      if (!Asyncify.currData) return;  // main has already ended
      var ended = function(e) {
        if (!(e instanceof ExitStatus)) throw e;
      };
      Asyncify.whenDone().then(function(status) {
        try {
          _exit(status);
        } catch (e) {
          ended(e);
        }
      }, ended);
    },

    // When the game's run in this task began: at its wake from a wait, or
    // else at the first look. A promise's reaction runs once the task is
    // done, and ends the slice.
    slice: function() {
      var W = VelmoraWeb;
      if (!W.sliceFrom) {
        W.sliceFrom = W.now();
        Promise.resolve().then(function() { W.sliceFrom = 0; });
      }
      return W.sliceFrom;
    },

    // Runs then in a new task, after what the browser has waiting (a
    // message: timers are slowed in a hidden page). One channel, kept here:
    // a port that nothing holds may go with its message unheard.
    afterTurn: function(then) {
      var W = VelmoraWeb;
      if (typeof MessageChannel == 'undefined') return setTimeout(then, 0);
      if (!W.channel) {
        W.channel = new MessageChannel();
        W.channel.port1.onmessage = function() {
          W.slice();
          W.afterTurns.shift()();
        };
      }
      W.afterTurns.push(then);
      W.channel.port2.postMessage(0);
    },

    now: function() {
      return (typeof performance != 'undefined' && performance.now) ? performance.now() : Date.now();
    },

    startClock: function() {
      if (VelmoraWeb.clockStart !== null) return;
      VelmoraWeb.clockStart = VelmoraWeb.now();
      if (typeof document == 'undefined') return;
      if (document.hidden) VelmoraWeb.awaySince = VelmoraWeb.clockStart;
      // Only a blur tells of a focus lost: a page that never had the focus
      // (a headless browser, a frame never clicked) is not away.
      var noteAway = function(event) {
        if (event.type == 'blur' || event.type == 'focus') VelmoraWeb.blurred = event.type == 'blur';
        VelmoraWeb.noteAway();
      };
      document.addEventListener('visibilitychange', noteAway);
      window.addEventListener('blur', noteAway);
      window.addEventListener('focus', noteAway);
    },

    // Away: hidden, without the focus, or waiting for a file to arrive (a
    // slow network then holds the game as a slow disk would not).
    noteAway: function() {
        var now = VelmoraWeb.now();
        if ((typeof document != 'undefined' && document.hidden) || VelmoraWeb.blurred ||
            VelmoraWeb.waiting) {
          if (VelmoraWeb.awaySince === null) VelmoraWeb.awaySince = now;
        } else if (VelmoraWeb.awaySince !== null) {
          VelmoraWeb.awayTotal += now - VelmoraWeb.awaySince;
          VelmoraWeb.awaySince = null;
        }
    },

    // Milliseconds the page has been shown, with the focus, since the clock
    // started.
    ticks: function() {
      VelmoraWeb.startClock();
      var now = VelmoraWeb.now();
      var away = VelmoraWeb.awayTotal + (VelmoraWeb.awaySince === null ? 0 : now - VelmoraWeb.awaySince);
      return Math.floor(now - VelmoraWeb.clockStart - away);
    },

    // Browsers let a page make sound only after the player's first key or
    // click: the audio context is made (or resumed) in that first input's
    // handler, which on the title screen is the key or click that skips it.
    listenForFirstInput: function() {
      if (typeof window == 'undefined' || VelmoraWeb.inputListening) return;
      VelmoraWeb.inputListening = true;
      // (A finger's pointerdown is no such input; its pointerup and touchend are.)
      var types = ['keydown', 'mousedown', 'touchend', 'pointerup'];
      // A pad's button is no such input for the browsers (they count keys,
      // clicks and taps only): its first press starts the sound where the
      // page may, and leaves the next key or click to where it may not.
      var start = function(input) {
        VelmoraWeb.firstInput = null;
        VelmoraWeb.makeAudio();
        if (!VelmoraWeb.audio) return;
        VelmoraWeb.allowed = true;
        VelmoraWeb.audioUsed();
        if (input === false) return;
        types.forEach(function(type) { document.removeEventListener(type, start, true); });
      };
      VelmoraWeb.firstInput = start;
      types.forEach(function(type) { document.addEventListener(type, start, true); });
    },

    // A running audio context costs the machine even in silence, so it runs
    // while a sound plays and for two seconds after, then rests.
    audioUsed: function() {
      var audio = VelmoraWeb.audio;
      if (!audio || !VelmoraWeb.allowed) return;
      if (audio.state == 'suspended') audio.resume();
      clearTimeout(VelmoraWeb.restTimer);
      var until = VelmoraWeb.now();
      VelmoraWeb.channels.forEach(function(playing) {
        if (playing && playing.until > until) until = playing.until;
      });
      VelmoraWeb.restTimer = setTimeout(function() {
        var now = VelmoraWeb.now();
        var busy = VelmoraWeb.channels.some(function(playing) { return playing && playing.until > now; });
        if (busy) VelmoraWeb.audioUsed(); else if (audio.state == 'running') audio.suspend();
      }, until - VelmoraWeb.now() + 2000);
    },

    makeAudio: function() {
      if (VelmoraWeb.audio || typeof window == 'undefined') return;
      var AudioContextType = window.AudioContext || window.webkitAudioContext;
      if (!AudioContextType) return;
      try {
        VelmoraWeb.audio = new AudioContextType();
      } catch (e) {}
    },

    // Cuts off what still plays on the channel.
    stopChannel: function(channel) {
      var playing = VelmoraWeb.channels[channel];
      VelmoraWeb.channels[channel] = null;
      if (playing && playing.source && VelmoraWeb.now() < playing.until) {
        try { playing.source.stop(); } catch (e) {}
      }
    }
  },

  // The toolchain's own start-up, kept for the page.
  velmora_sdl_init_page: LibraryManager.library.SDL_Init,
  velmora_sdl_init_page__deps: LibraryManager.library.SDL_Init__deps,

  SDL_Init__deps: ['velmora_sdl_init_page', '$VelmoraWeb', '$SDL', '$zeroMemory'],
  SDL_Init: function(flags) {
    VelmoraWeb.startClock();
    if (SDL.keyboardState) return 0;  // once: the page's listeners stay
    if (typeof document == 'undefined') {
      SDL.startTime = Date.now();
      SDL.initFlags = flags;
      SDL.keyboardState = _malloc(0x10000);
      zeroMemory(SDL.keyboardState, 0x10000);
      return 0;
    }
    VelmoraWeb.listenForFirstInput();
    var status = _velmora_sdl_init_page(flags);
    SDL.queryJoysticks = function() {};  // SDL_PollEvent reads the pads
    return status;
  },

  // Pad numbers are places in navigator.getGamepads(), which has empty
  // places (Chromium always four): the count reaches the last pad, and it
  // grows as a pad shows. Opening leaves the pads' state to SDL_PollEvent,
  // so that no change between its reading and the opening goes unheard.
  SDL_NumJoysticks__deps: ['$VelmoraWeb'],
  SDL_NumJoysticks: function() {
    var pads = VelmoraWeb.gamepads(), count = 0;
    for (var i = 0; i < pads.length; ++i) {
      if (pads[i] && pads[i].connected !== false) count = i + 1;
    }
    return count;
  },

  SDL_JoystickOpen__deps: ['$VelmoraWeb'],
  SDL_JoystickOpen: function(index) {
    var pad = VelmoraWeb.gamepads()[index];
    return pad && pad.connected !== false ? index + 1 : 0;
  },

  SDL_GetTicks__deps: ['$VelmoraWeb'],
  SDL_GetTicks: function() {
    return VelmoraWeb.ticks() >>> 0;
  },

  SDL_GetKeyState__deps: ['$SDL', '$VelmoraWeb'],
  SDL_GetKeyState: function(numkeys) {
    if (numkeys) HEAP32[numkeys >> 2] = SDL.keyboardState ? 0x10000 : 0;
    if (!SDL.keyboardState) return 0;
    var code;
    for (code in VelmoraWeb.keyDowns) {
      if (HEAPU8[SDL.keyboardState + Number(code)]) VelmoraWeb.keyDowns[code].seen = true;
    }
    var held = VelmoraWeb.held('key');
    for (code in VelmoraWeb.keysHeld) {
      if (!held[code] && !VelmoraWeb.keyDowns[code]) HEAPU8[SDL.keyboardState + Number(code)] = 0;
    }
    for (code in held) HEAPU8[SDL.keyboardState + Number(code)] = 1;
    VelmoraWeb.keysHeld = held;
    return SDL.keyboardState;
  },

  SDL_GetMouseState__deps: ['$SDL', '$Browser', '$VelmoraWeb'],
  SDL_GetMouseState: function(x, y) {
    if (x) HEAP32[x >> 2] = Browser.mouseX;
    if (y) HEAP32[y >> 2] = Browser.mouseY;
    // A press that came after a move in the drain just ended shows from the
    // next pass: the menus test the click point of the pass before, which
    // is still where the pointer was before the move (a tap on the options'
    // Back, let go a drain later, opened the credits).
    var buttons = SDL.buttonState;
    for (var code in VelmoraWeb.mouseDowns) {
      var down = VelmoraWeb.mouseDowns[code];
      if (!(buttons & code) || !down) continue;
      if (down.moved && VelmoraWeb.drains <= down.drain + 1) buttons &= ~code;
      else down.seen = true;
    }
    return buttons | VelmoraWeb.held('button');
  },

  // The toolchain's SDL_InitSubSystem does nothing, and its event layer
  // reads the pads only when SDL_INIT_JOYSTICK is among the flags it was
  // started with: the game asks for the pads after SDL_Init. Without a
  // navigator (node) there are no pads to ask for.
  SDL_InitSubSystem__deps: ['$SDL'],
  SDL_InitSubSystem: function(flags) {
    if ((flags & 0x200) && (typeof navigator == 'undefined' || !navigator.getGamepads)) return -1;
    SDL.initFlags |= flags;
    return 0;
  },

  // Whether the page sees pad INDEX with the Gamepad API's standard
  // mapping (the game then uses the standard layout).
  velmora_pad_standard__deps: ['$VelmoraWeb'],
  velmora_pad_standard: function(index) {
    var pad = VelmoraWeb.gamepads()[index];
    return pad && pad.connected !== false && pad.mapping === 'standard' ? 1 : 0;
  },

  SDL_PollEvent__deps: ['$SDL', '$Browser', '$VelmoraWeb'],
  SDL_PollEvent: function(event) {
    if (VelmoraWeb.padsPolled != VelmoraWeb.drains && SDL.keyboardState) {
      VelmoraWeb.padsPolled = VelmoraWeb.drains;
      VelmoraWeb.pollPads();
    }
    if (!VelmoraWeb.keysWatched) {
      // The keys as the toolchain's SDL takes them from its queue.
      var handle = SDL.handleEvent;
      SDL.handleEvent = function(e) {
        var fresh = !e.handled;
        handle(e);
        if (fresh && (e.type == 'keydown' || e.type == 'keyup'))
          VelmoraWeb.noteKey(e.type == 'keydown', SDL.lookupKeyCodeForEvent(e));
      };
      VelmoraWeb.keysWatched = true;
    }
    var before = SDL.buttonState;
    var got = SDL.pollEvent(event);
    if (SDL.buttonState != before) VelmoraWeb.noteMouse(before, SDL.buttonState);
    if (!got) {
      ++VelmoraWeb.drains;
      VelmoraWeb.movedX = Browser.mouseX;
      VelmoraWeb.movedY = Browser.mouseY;
    }
    return got;
  },

  SDL_Quit__deps: ['$VelmoraWeb'],
  SDL_Quit: function() {
    for (var channel = 0; channel < VelmoraWeb.channels.length; ++channel) VelmoraWeb.stopChannel(channel);
    var canvas = Module['canvas'];
    if (canvas) canvas.style.cursor = '';
  },

  velmora_canvas_open__deps: ['$VelmoraWeb', '$SDL'],
  velmora_canvas_open: function(w, h) {
    var canvas = Module['canvas'];
    if (!canvas) return;
    if (canvas.width != w) canvas.width = w;
    if (canvas.height != h) canvas.height = h;
    if (!VelmoraWeb.canvasListening) {
      VelmoraWeb.canvasListening = true;
      ['mousedown', 'mouseup', 'mousemove', 'mouseout'].forEach(function(type) {
        canvas.addEventListener(type, SDL.receiveEvent, true);
      });
      ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(type) {
        canvas.addEventListener(type, VelmoraWeb.touch, { capture: true, passive: false });
      });
      // The right button opens the aim; no menu over the game.
      canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      // The page's controls: "Aim" is the right button, "Menu" Escape, held
      // while pressed and for one pass at least. Returns the letting go.
      Module['velmoraPress'] = function(what) {
        var press = what == 'aim' ? VelmoraWeb.press('button', 4) : VelmoraWeb.press('key', 27);
        return function() { press.lifted = true; };
      };
    }
    VelmoraWeb.ctx = canvas.getContext('2d', { alpha: false });
    VelmoraWeb.image = null;
  },

  // At the next refresh, copies the box x0..x1, y0..y1 (may be empty) of
  // the picture at pixels (RGBA, w x h) to the canvas; the program waits
  // until then. Hidden pages get no refreshes, so the game waits with them.
  velmora_present__deps: ['$VelmoraWeb', '$Asyncify'],
  velmora_present: function(pixels, w, h, x0, y0, x1, y1) {
    VelmoraWeb.loading = false;
    if (!VelmoraWeb.ctx || typeof requestAnimationFrame != 'function') return;
    return Asyncify.handleSleep(function(wakeUp) {
      requestAnimationFrame(function() {
        VelmoraWeb.slice();
        if (x1 > x0 && y1 > y0) {
          var image = VelmoraWeb.image;
          if (!image || image.data.buffer !== HEAPU8.buffer || image.pixels !== pixels ||
              image.width != w || image.height != h) {
            image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4), w, h);
            image.pixels = pixels;
            VelmoraWeb.image = image;
          }
          VelmoraWeb.ctx.putImageData(image, 0, 0, x0, y0, x1 - x0, y1 - y0);
          if (VelmoraWeb.pictures++ == 0 && typeof performance != 'undefined' && performance.mark) {
            performance.mark('velmora-first-picture');
          }
          // The page's loading bar stays until a picture comes with its files.
          if (!VelmoraWeb.pageTold && Module['velmoraShown']) VelmoraWeb.pageTold = Module['velmoraShown']();
        }
        wakeUp();
      });
    });
  },

  // Before the game opens a file: the page fetches data/ file by file in
  // the order the game needs them (Module.velmoraFile gives the bytes of one
  // of them, at once or when they have arrived), and the file is made here
  // when they are there. Without a page (node), the files are already there.
  velmora_file_wait__deps: ['$VelmoraWeb', '$Asyncify', '$FS'],
  velmora_file_wait: function(path) {
    // Woken: the same call again, which must end the sleep.
    if (VelmoraWeb.woken) {
      VelmoraWeb.woken = false;
      return Asyncify.handleSleep(function() {});
    }
    var name = UTF8ToString(path).replace(/^\.\//, '');
    if (!Module['velmoraFile'] || VelmoraWeb.made[name]) return;
    var bytes = Module['velmoraFile'](name);
    if (!bytes) return;  // not one of the page's files
    var make = function(data) {
      VelmoraWeb.made[name] = true;
      VelmoraWeb.loading = true;
      var at = name.lastIndexOf('/');
      if (at > 0) FS.mkdirTree(name.slice(0, at));
      FS.writeFile(name, data);
    };
    // What the game does with a file (reads the font, converts a picture)
    // runs in a task of its own, after the browser's turn: one long task
    // from the start to the title would leave a phone's page unanswering.
    var wake = function(wakeUp) {
      VelmoraWeb.afterTurn(function() {
        VelmoraWeb.woken = true;
        wakeUp();
      });
    };
    if (bytes instanceof Uint8Array) {
      return Asyncify.handleSleep(function(wakeUp) {
        make(bytes);
        wake(wakeUp);
      });
    }
    return Asyncify.handleSleep(function(wakeUp) {
      VelmoraWeb.startClock();
      VelmoraWeb.waiting = true;
      VelmoraWeb.noteAway();
      bytes.then(function(data) {
        make(data);
        VelmoraWeb.waiting = false;
        VelmoraWeb.noteAway();
        wake(wakeUp);
      });  // a failed download leaves the game waiting; the page offers to try again
    });
  },

  // Called between rows of the long pixel loops (a picture read or
  // converted, a flip) and before a text is drawn: while the game loads
  // (from a file's opening to its next picture), once it has held the
  // browser 10 ms in this task, it gives the browser its turn and goes on
  // in a new task. The passes of a screen, short, run as they did.
  velmora_turn__deps: ['$VelmoraWeb', '$Asyncify'],
  velmora_turn: function() {
    var W = VelmoraWeb;
    if (W.turned) {
      W.turned = false;
      return Asyncify.handleSleep(function() {});
    }
    if (!W.loading || typeof document == 'undefined') return;
    if (W.now() - W.slice() < 10) return;
    return Asyncify.handleSleep(function(wakeUp) {
      W.afterTurn(function() {
        W.turned = true;
        wakeUp();
      });
    });
  },

  velmora_pointer_visible: function(visible) {
    var canvas = Module['canvas'];
    if (canvas) canvas.style.cursor = visible ? '' : 'none';
  },

  velmora_audio_open__deps: ['$VelmoraWeb'],
  velmora_audio_open: function(dummy) {
    if (dummy || typeof window == 'undefined') {
      VelmoraWeb.dummyAudio = true;
      return 1;
    }
    // Opened before any input, it starts with the first one.
    VelmoraWeb.listenForFirstInput();
    VelmoraWeb.makeAudio();
    return VelmoraWeb.audio ? 1 : 0;
  },

  velmora_audio_load__deps: ['$VelmoraWeb'],
  velmora_audio_load: function(samples, bytesPerSample, frames, channels, rate) {
    var entry = { seconds: frames / rate, buffer: null };
    if (VelmoraWeb.audio && !VelmoraWeb.dummyAudio) {
      try {
        var buffer = VelmoraWeb.audio.createBuffer(channels, Math.max(frames, 1), rate);
        for (var c = 0; c < channels; ++c) {
          var out = buffer.getChannelData(c);
          for (var i = 0; i < frames; ++i) {
            var at = samples + (i * channels + c) * bytesPerSample;
            out[i] = bytesPerSample == 2 ? HEAP16[at >> 1] / 32768 : (HEAPU8[at] - 128) / 128;
          }
        }
        entry.buffer = buffer;
      } catch (e) {
        return 0;
      }
    }
    VelmoraWeb.buffers.push(entry);
    return VelmoraWeb.buffers.length - 1;
  },

  velmora_audio_free__deps: ['$VelmoraWeb'],
  velmora_audio_free: function(id) {
    VelmoraWeb.buffers[id] = null;
  },

  velmora_audio_play__deps: ['$VelmoraWeb'],
  velmora_audio_play: function(channel, id) {
    VelmoraWeb.stopChannel(channel);
    var entry = VelmoraWeb.buffers[id];
    if (!entry) return;
    var playing = { until: VelmoraWeb.now() + entry.seconds * 1000, source: null };
    if (entry.buffer) {
      var source = VelmoraWeb.audio.createBufferSource();
      source.buffer = entry.buffer;
      source.connect(VelmoraWeb.audio.destination);
      source.start();
      playing.source = source;
    }
    VelmoraWeb.channels[channel] = playing;
    VelmoraWeb.audioUsed();
  },

  velmora_audio_playing__deps: ['$VelmoraWeb'],
  velmora_audio_playing: function(channel) {
    var playing = VelmoraWeb.channels[channel];
    return playing && VelmoraWeb.now() < playing.until ? 1 : 0;
  },

  velmora_audio_halt__deps: ['$VelmoraWeb'],
  velmora_audio_halt: function(channel) {
    VelmoraWeb.stopChannel(channel);
  }
});

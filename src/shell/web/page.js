// The page's side of the game (prepended to quarvelingdrome.js): its timer loop, the keys, focus
// and visibility, and the sound cues on Web Audio. The game itself is in the WebAssembly; this
// only hands it the page's events and the time to run.
Module.page = Module.page || {};

(function(page) {
  'use strict';

  // ---- The loop: one timer at a time, set to when the game next has work ----------------------
  var timer = 0;
  function turn() {
    timer = 0;
    Module._web_turn();
    timer = setTimeout(turn, Module._web_wait_ms());
  }
  // New input may need a turn sooner (a repaint on showing the tab): run one now.
  function turnSoon() {
    if (!page.started) return;
    if (timer) clearTimeout(timer);
    timer = setTimeout(turn, 0);
  }
  page.start = function() {
    page.started = true;
    turnSoon();
  };

  // ---- Keys ----------------------------------------------------------------------------------
  var arrows = {ArrowUp: 0, ArrowDown: 1, ArrowLeft: 2, ArrowRight: 3};
  function isSpace(event) {
    return event.code === 'Space' || event.key === ' ';
  }
  function gameKey(event) {
    return isSpace(event) || event.key in arrows;
  }
  window.addEventListener('keydown', function(event) {
    unlockSound();
    if (!gameKey(event) || event.ctrlKey || event.metaKey) return;
    event.preventDefault();  // the page must not scroll under the game
    if (!page.started) return;
    if (isSpace(event)) {
      Module._web_space_down(event.altKey ? 1 : 0);  // every key-down, auto-repeats too
    } else {
      Module._web_arrow(arrows[event.key], 1);
    }
  });
  window.addEventListener('keyup', function(event) {
    if (!gameKey(event)) return;
    event.preventDefault();
    if (page.started && event.key in arrows) Module._web_arrow(arrows[event.key], 0);
  });
  // Key-ups that happen elsewhere never reach the page.
  window.addEventListener('blur', function() {
    if (page.started) Module._web_release_keys();
  });
  document.addEventListener('visibilitychange', function() {
    if (!page.started) return;
    if (document.hidden) Module._web_release_keys();
    Module._web_visible(document.hidden ? 0 : 1);
    turnSoon();
  });
  window.addEventListener('pointerdown', function() {
    unlockSound();
    var scene = document.getElementById('scene');
    if (scene) scene.focus({preventScroll: true});
  });

  // ---- Sound ---------------------------------------------------------------------------------
  var AudioContextType = window.AudioContext || window.webkitAudioContext;
  var audio = null;          // made on the first key or click; false when there is none to have
  var decoded = new Map();   // cue address -> AudioBuffer
  var playing = null;        // the source playing now
  var wanted = 0;            // the latest cue asked for, so a slow decode cannot play a stale cue

  function unlockSound() {
    if (audio !== null) return;
    audio = false;
    if (!AudioContextType) return;
    try {
      audio = new AudioContextType();
      if (audio.state === 'suspended') audio.resume().catch(function() {});
    } catch (e) {
      audio = false;  // no sound device: the game plays in silence
    }
  }

  function stopPlaying() {
    if (!playing) return;
    try {
      playing.stop();
    } catch (e) {
    }
    playing = null;
  }

  function play(buffer) {
    try {
      var source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(audio.destination);
      source.start();
      playing = source;
    } catch (e) {
      playing = null;
    }
  }

  page.startCue = function(bytes, size) {
    if (!audio) return;  // silent until the first key or click, or without Web Audio
    stopPlaying();
    var request = ++wanted;
    var buffer = decoded.get(bytes);
    if (buffer) {
      play(buffer);
      return;
    }
    var copy = HEAPU8.slice(bytes, bytes + size).buffer;
    audio.decodeAudioData(copy).then(function(result) {
      decoded.set(bytes, result);
      if (request === wanted) play(result);
    }, function() {});
  };
})(Module.page);

// SDL's browser code calls these helpers of Emscripten's runtime from its inline JavaScript, which
// the linker cannot see; this entry makes the page carry them.
mergeInto(LibraryManager.library, {
  saltfang_runtime_helpers__deps: ['$autoResumeAudioContext', '$dynCall'],
  saltfang_runtime_helpers: function() {},
});

// Starts the program's main itself, once the runtime is ready. Emscripten's own start
// loses main's status when main has waited for input (the waits unwind it), so main is
// called here as an asynchronous call, and its status ends the program as exit would:
// the C library's streams flushed, then Module.onExit (the page) or node's exit code.
Module['noInitialRun'] = true;
Module['onRuntimeInitialized'] = async function () {
  const argumentos = Module['arguments'] || [];
  const argc = argumentos.length + 1;
  const argv = stackAlloc((argc + 1) * 4);
  HEAP32[argv >> 2] = allocateUTF8OnStack(Module['thisProgram'] || 'programa');
  for (let i = 1; i < argc; i++) HEAP32[(argv >> 2) + i] = allocateUTF8OnStack(argumentos[i - 1]);
  HEAP32[(argv >> 2) + argc] = 0;
  const status = await ccall('main', 'number', ['number', 'number'], [argc, argv], { async: true });
  _exit(status);
};

// A build with a file system (the unit tests', under node) writes its standard streams
// through it, a byte at a time: here, to node's own.
if (typeof process === 'object' && typeof process.versions === 'object' && process.versions.node) {
  Module['stdout'] = function (byte) {
    require('fs').writeSync(1, Uint8Array.of(byte));
  };
  Module['stderr'] = function (byte) {
    require('fs').writeSync(2, Uint8Array.of(byte));
  };
}

// Runs one program of the web build under node, as the test suite does (it is the web
// build's CMAKE_CROSSCOMPILING_EMULATOR):
//   node cmake/toolchains/node.js build-web/bin/PROGRAM.js [ARGUMENT...]
'use strict';
const fs = require('fs');
const path = require('path');

const programa = fs.realpathSync(path.resolve(process.argv[2]));
require(programa)({
  arguments: process.argv.slice(3),
  thisProgram: programa,
  velha: { pasta: path.dirname(programa) + path.sep },
});

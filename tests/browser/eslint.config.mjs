// ESLint over the page's JavaScript (web/, platform/web/) and its tests (tests/browser/),
// run from the repository's root by CI: a short list of rules that catch real faults,
// as .clang-tidy is for the C++. How the code looks is Prettier's (.prettierrc.json).
import globals from 'globals';

const regras = {
  'no-undef': 'error',
  'no-unused-vars': ['error', { vars: 'local', args: 'none', caughtErrors: 'none' }],
  'no-redeclare': ['error', { builtinGlobals: false }],
  'no-shadow-restricted-names': 'error',
  eqeqeq: 'error',
  'no-dupe-keys': 'error',
  'no-duplicate-case': 'error',
  'no-dupe-else-if': 'error',
  'no-fallthrough': 'error',
  'no-unreachable': 'error',
  'no-unsafe-finally': 'error',
  'no-unsafe-negation': 'error',
  'no-self-assign': 'error',
  'no-self-compare': 'error',
  'no-cond-assign': 'error',
  'no-constant-condition': ['error', { checkLoops: false }],
  'no-loss-of-precision': 'error',
  'use-isnan': 'error',
  'valid-typeof': 'error',
  'no-async-promise-executor': 'error',
  'require-atomic-updates': 'off',
};

// What the scripts the build makes give the page through the window (the programs' text,
// the complete dictionary), and the program's own script gives its worker.
const daConstrucao = Object.fromEntries(
  ['velhaCodigoDosProgramas', 'velhaDicionarioCompleto', 'velhaPrograma'].map((nome) => [nome, 'readonly']),
);

// What Emscripten gives its library files.
const doEmscripten = Object.fromEntries(
  [
    'mergeInto',
    'LibraryManager',
    'Module',
    'HEAPU8',
    'ERRNO_CODES',
    'UTF8ToString',
    'stringToUTF8',
    'Asyncify',
    'VELHA_NODE',
    'VELHA_PAGINA',
    'VELHA',
    'stackAlloc',
    'HEAP32',
    'allocateUTF8OnStack',
    'ccall',
    '_exit',
    'FS',
    'NODEFS',
    'require',
    'process',
    'ENVIRONMENT_IS_NODE',
  ].map((nome) => [nome, 'readonly']),
);

export default [
  {
    files: ['web/**/*.js'],
    ignores: ['web/sw.js'],
    languageOptions: { sourceType: 'module', globals: { ...globals.browser, ...daConstrucao } },
    rules: regras,
  },
  {
    files: ['web/sw.js'],
    languageOptions: { sourceType: 'script', globals: globals.serviceworker },
    rules: regras,
  },
  // sistema.js holds Emscripten's #if lines, which are no JavaScript until it has read them.
  { ignores: ['platform/web/sistema.js'] },
  {
    files: ['platform/web/**/*.js'],
    languageOptions: { sourceType: 'script', globals: { ...globals.browser, ...doEmscripten } },
    rules: regras,
  },
  {
    files: ['tests/browser/**/*.mjs'],
    languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
    rules: regras,
  },
];

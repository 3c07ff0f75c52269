#pragma once
// Texts the fuzz run hands the plug-in: ANSI parameter strings and UTF-16 engine texts.
#include <string>
#include <vector>
#include "fuzz_random.h"

namespace soak {
// Every CR LF in a generated ANSI text is followed by this byte (a pilcrow in code page 1252), so
// that the log check can tell a line the plug-in broke in two from a text that carried a line
// break itself.
constexpr char kAnsiContinuationMark = '\xB6';

// Any text: empty, short, 64 KB, unusual ANSI bytes 0x80-0xFF, CR/LF, quotes, path- and
// JSON-like text, edge numbers, or a few of these joined.
std::string RandomText(TFuzzRandom& random);
// A number-like text for a numeric parameter (mostly edge numbers, now and then any text).
std::string RandomNumberText(TFuzzRandom& random);
// A path-like text; `existing` are paths that name real files or folders.
std::string RandomPathText(TFuzzRandom& random, const std::vector<std::string>& existing);
// A host variable name, mostly well formed ("[Name]"), now and then padded or any text.
std::string RandomVariableName(TFuzzRandom& random);
// One of `words` in a random letter case, now and then padded; any text when there are none.
std::string RandomWord(TFuzzRandom& random, const std::vector<std::string>& words);
// A text as the engine hands it over: lone surrogates, CR/LF, console marks, JSON.
std::wstring RandomEngineText(TFuzzRandom& random);
}  // namespace soak

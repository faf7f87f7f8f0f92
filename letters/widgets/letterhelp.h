#pragma once
// The letter windows' help topics.

namespace postavo::letters {

namespace help {
enum Topic : int {
    PrintLetters = 1083,
    LetterDesigner = 1085,
    PreviewLetters = 1086,
};
} // namespace help

// Adds the letter topics to the help window (once).
void registerLetterHelp();

} // namespace postavo::letters

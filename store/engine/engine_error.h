#pragma once
// The one error type the record engine throws. Callers above the engine turn it into a
// message for the user; the text always names the file (or the expression) at fault.

#include <stdexcept>
#include <string>

namespace postavo::engine {

class EngineError : public std::runtime_error {
public:
    enum class Kind {
        Io,           // the operating system refused a read, write, open, lock or rename
        Corrupt,      // a file's bytes contradict themselves (damaged or foreign file)
        Unsupported,  // a valid file of a kind this engine does not handle
        Usage,        // the caller asked for something impossible (no such field, table closed)
        Expression,   // an expression failed to compile or evaluate
        Locked,       // another process holds the file or the record
    };

    EngineError(Kind kind, std::string file, const std::string& message);

    Kind kind() const noexcept { return kind_; }
    const std::string& file() const noexcept { return file_; }

private:
    Kind kind_;
    std::string file_;
};

} // namespace postavo::engine

#include "engine_error.h"

namespace postavo::engine {

static std::string composeMessage(const std::string& file, const std::string& message)
{
    return file.empty() ? message : file + ": " + message;
}

EngineError::EngineError(Kind kind, std::string file, const std::string& message)
    : std::runtime_error(composeMessage(file, message)), kind_(kind), file_(std::move(file))
{
}

} // namespace postavo::engine

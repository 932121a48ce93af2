// Constructors of the commands, one per command file.
#pragma once

#include <memory>

#include "command.h"

namespace cli {

std::unique_ptr<Command> makeDumpCommand();
std::unique_ptr<Command> makeVbCommand();
std::unique_ptr<Command> makeReportCommand();
std::unique_ptr<Command> makeVerifyCommand();
std::unique_ptr<Command> makeCopyCommand();
std::unique_ptr<Command> makeDiffCommand();
std::unique_ptr<Command> makeSchemaCommand();

}  // namespace cli

// Where the running executable lives: the results folder goes beside it.
#pragma once

#include <filesystem>

namespace quenlo {

std::filesystem::path ProgramFolder();

}  // namespace quenlo

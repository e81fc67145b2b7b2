// Repairs of the command line that the system hands the program.
#pragma once

#include <string>

namespace frame {

// A quoted drive root such as "C:\" arrives as C:" (the shell takes \" for an escaped quote): a trailing
// double quote becomes the backslash it stood for.
void RepairTrailingQuote(std::string& argument);

}  // namespace frame

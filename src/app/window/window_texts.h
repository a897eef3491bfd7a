#pragma once

#include <QString>

#include <string>

// The window's fixed texts about the program itself, built from its identity.
namespace kolmaris::texts {

// The credit line under the grid.
QString creditText();
// The information box's prompt: seven lines joined by CR LF.
std::string informationPrompt();
// The help box's prompt: inputs, media and materials, the method, saving results.
std::string helpPrompt();

} // namespace kolmaris::texts

#pragma once

#include <string>

namespace quort {

class Application;

// Runs the menu item with that number. Most items type their command into the command
// field; commandField is what the field holds at that moment ("&Autom.Setzen" sends it
// along). Items whose function is not built answer "Funktion nicht verfügbar!".
void runMenuItem(Application& app, int id, const std::string& commandField = {});

// The text of the information box of start-up and of "&Version".
std::string versionInfoText();

}  // namespace quort

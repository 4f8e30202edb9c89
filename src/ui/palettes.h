#pragma once

#include <QPalette>

class MachineData;

// The process-wide palettes every screen takes its colours from, built from the dark colour of
// the controller configuration (fields 0-2) by init_system_color().
extern QPalette palette_label_dark;
extern QPalette palette_label_white;
extern QPalette palette_button_dark;
extern QPalette palette_label_desktop;
extern QPalette palette_label_back;
extern QPalette palette_label_text;
extern QPalette palette_button_text;

// Rebuilds all palettes from data's controller configuration; run after read_config_ini() and
// after the application exists, so roles not set keep the style's defaults.
void init_system_color(const MachineData &data);

#pragma once

#include <QPalette>

// The process-wide palettes every screen takes its colours from, built from the dark colour of
// ctro_config (fields 0-2) by init_system_color().
extern QPalette palette_label_dark;
extern QPalette palette_label_white;
extern QPalette palette_button_dark;
extern QPalette palette_label_desktop;
extern QPalette palette_label_back;
extern QPalette palette_label_text;
extern QPalette palette_button_text;

// Rebuilds all palettes from ctro_config; run after read_config_ini() and after the
// application exists, so roles not set keep the style's defaults.
void init_system_color();

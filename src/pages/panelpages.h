#pragma once

class JobViewers;
class MachineData;
class QuickPages;
class MainScreen;

// The one place that knows every screen: the factories of the pages one screen opens from
// another (QuickPages) and the job viewers, as the panel runs them. main() fills its
// registries here, and so do the tests that walk the real pages.
namespace PanelPages {

// Every page of QuickPages. With a main window, what the file manager and the desktop settings
// change reaches it.
void provide(QuickPages &pages, MachineData &machine, MainScreen *mainWindow = nullptr);
void provide(JobViewers &viewers, MachineData &machine);

} // namespace PanelPages

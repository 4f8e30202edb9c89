#pragma once

// The defaults of the environment settings PanelEnv reads, in plain C++ so that knitjob's front,
// which loads no Qt, reads the same.
namespace PanelDefaults {

#ifdef KNIT_PANEL_BUILD
constexpr char kControllerHost[] = "192.168.1.100";
constexpr int kPortOffset = 0;
#else
constexpr char kControllerHost[] = "127.0.0.1";
constexpr int kPortOffset = 10000;
#endif
// A larger KNIT_PORT_OFFSET is ignored.
constexpr int kMaxPortOffset = 60000;

} // namespace PanelDefaults

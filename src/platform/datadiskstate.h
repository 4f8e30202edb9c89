#pragma once

// Whether the data disk the panel started on is the machine's own. When the disk cannot be
// mounted even after its check at boot, the panel computer puts a RAM disk with the panel's
// folders in its place and leaves /run/knitpanel/data-disk-missing: the panel then runs on
// defaults, keeps nothing past power-off, and says so.
class DataDiskState
{
public:
    static bool standIn();
};

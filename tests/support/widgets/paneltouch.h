#pragma once

#include "ui/keycolumn.h"
#include "ui/panelkeybutton.h"

#include <QCoreApplication>
#include <QTest>

// Touches the shown keys of a key panel labelled as in labels ("|" between them), as the
// operator's finger does; the keys they post have reached the page when it returns. False, at
// the first label the panel does not show.
inline bool touchPanelKeys(const KeyColumn *panel, const QString &labels)
{
    for (const QString &label : labels.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const PanelKeys &keys = panel->shownKeys();
        int id = 0;
        while (id < keys.size() && keys.at(id).label != label)
            ++id;
        if (id == keys.size())
            return false;
        QTest::mouseClick(panel->button(id), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

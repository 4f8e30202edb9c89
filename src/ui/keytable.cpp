#include "keytable.h"

#include "buzzer.h"

#include <QShortcut>
#include <QWidget>

QList<int> KeyTable::function(int n)
{
    return {Qt::Key_F1 + n - 1, Qt::Key_A + n - 1};
}

void KeyTable::install(QWidget *page, const QList<Row> &rows)
{
    for (const Row &row : rows) {
        for (int key : row.keys) {
            auto *shortcut = new QShortcut(QKeySequence(key), page);
            shortcut->setContext(Qt::WindowShortcut);
            shortcut->setAutoRepeat(false);
            QObject::connect(shortcut, &QShortcut::activated, page, [action = row.action] {
                buzzer(kKeyBeepMs);
                action();
            });
        }
    }
}

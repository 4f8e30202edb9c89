#pragma once

#include <QString>

class QWidget;

// The modal questions and inputs every screen asks through. The text inputs give a null
// string when the operator cancels (Escape or the close button) and the field's text, empty
// but not null, when he confirms.
void showMessage(QWidget *parent, const QString &text);
bool askYesNo(QWidget *parent, const QString &text);
QString askText(QWidget *parent, const QString &caption, const QString &prompt, int maxLength);
QString askPassword(QWidget *parent, const QString &caption, const QString &prompt, int maxLength);
QString askTextSelected(QWidget *parent, const QString &caption, const QString &prompt, int maxLength,
                      const QString &initial);

#pragma once

#include "logic/editors/cntstore.h"
#include "ui/screenframe.h"

#include <array>

class MachineData;
class QFrame;
class QLabel;
class QLineEdit;
class BeepingButton;
class ProgramEditorKeys;

// The program editor page: shows one row of a .cnt file in its eight frames, moves between
// its fields, forwards stores, toggles, the exchange and row moves to CntStore, and saves
// at closing.
class CntEdit : public ScreenFrame
{
    Q_OBJECT

public:
    // The current job's program, when the page is on it, is machine's program too.
    explicit CntEdit(MachineData &machine, QWidget *parent = nullptr, const char *name = nullptr);

    // Shows the page modally on path and deletes it when closed.
    static void openFile(MachineData &machine, const QString &path, QWidget *parent = nullptr);
    void setPath(const QString &path) { path_ = path; }
    // The current job's program, the one the controller holds.
    QString livePath() const;

    const CntStore &store() const { return store_; }
    int group() const { return group_; }
    int index() const { return index_; }
    QLineEdit *fieldEdit(int group, int index) const { return fields_[std::size_t(group)][std::size_t(index)]; }
    QLabel *titleLine() const { return title_; }

public Q_SLOTS:
    void reopenFile();
    void editRow(int row);
    void selectField();
    void messageEnterKey();
    void toggleFirstStop(int carrier);
    void toggleSecondStop(int carrier);
    void exchangeSystems();
    void jumpToRow();
    void goFirstRow();
    void goLastRow();
    void goPreviousRow();
    void goNextRow();
    void openKeyPanel();
    void closeEditor();
    void reject() override;

Q_SIGNALS:
    void panelCodeChanged(int code);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool openProgram(const QString &path);
    void fail(const QString &message);
    void buildFrames(QWidget *body);
    QLineEdit *addField(QWidget *frame, int group, int index, const QString &label, const QRect &rect, int labelWidth);
    bool key(int key, const QString &text);
    void move(int key);
    void typeKey(int key, const QString &text);
    void toggle(int side, int carrier);
    void select(int group, int index);
    void tell(const QString &message);
    void placePanel();

    MachineData &machine_;
    CntStore store_;
    QString path_;
    int group_ = 0;
    int index_ = 0;
    bool closing_ = false;
    std::array<std::array<QLineEdit *, CntStore::kIndices>, CntStore::kGroups> fields_{};
    std::array<std::array<BeepingButton *, 8>, 2> carriers_{};
    std::array<QLabel *, 2> systems_{};
    QList<BeepingButton *> buttons_;
    QLabel *title_ = nullptr;
    ProgramEditorKeys *panel_ = nullptr;
};

#pragma once
// A working tree with one level that uses textures in two folders, a sound
// and a sky, a Pellark tree beside it, and the steps that answer the prompt
// dialog and the Information dialog of a transfer as a person would.

#include <functional>
#include <string>

#include <QString>
#include <QStringList>

#include "ui_fixture.h"

class QPlainTextEdit;
class QTreeView;

namespace corvane::ui {
class TfrmReview;
}

namespace corvane::ui::test {

inline QString S(const std::string& text)
{
    return QString::fromStdString(text);
}
// The lines of a memo, as shown.
QStringList MemoLines(const QPlainTextEdit& memo);

// The overwrite prompt as the user saw it.
struct SeenPrompt {
    QString caption;
    QStringList lines;
    QStringList buttons;  // the visible ones, in their order
};

class TransferWindow : public UiTest {
protected:
    // Writes the working tree (work/maps/town.map and its resources) and the
    // Pellark tree; the target is game/, not there yet.
    void makeWorkingTree();
    // The same with two problems: dock/rope.wal is missing, and the level
    // names the sound "town/../../x", which is refused.
    void makeWorkingTreeWithProblems();
    // Starts the program on the working tree and loads town.map.
    void startWithTown();
    // "Use this", then the sky and Pellark boxes as asked.
    void useTarget(bool sky, bool pellark);
    // Loads town.map again after File > New and uses the target.
    void reloadTown(bool sky, bool pellark);

    // Queues the answer to the next prompt: clicks the button with that object
    // name, or presses Escape ("Escape") or Enter ("Enter"), and records what
    // was shown.
    void answerPrompt(const char* button, SeenPrompt* seen = nullptr);
    // Queues "Continue" on the Information dialog, recording its title, its
    // lines and the problems shown below them (none when that memo is hidden).
    void readLog(QStringList* lines, QString* title = nullptr, QStringList* problems = nullptr);
    // Queues what to do in the review when it opens, once the bytes of the
    // files the target has are compared (Transfer then becomes usable);
    // `close` ends with the button of that name.
    void inReview(std::function<void(TfrmReview&, QTreeView&)> look, const char* close);
    // A full first transfer with sky and Pellark tree into the new target.
    QStringList firstTransfer();

    std::string maps;     // work/maps
    std::string target;   // game
    std::string pellark;  // pellark
};

}  // namespace corvane::ui::test

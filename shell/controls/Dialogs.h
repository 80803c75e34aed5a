#pragma once

#include <functional>
#include <vector>

#include <QString>

class QWidget;

namespace zelvo {

class SkinDialog;

// The dialogs' owner when a caller names none (the main window, once it exists).
void SetDefaultDialogOwner(QWidget* owner);
QWidget* DefaultDialogOwner();

// Runs a dialog modally and returns its answer. From a worker thread the dialog is shown on the
// user-interface thread while the worker waits; `make` builds it there.
int RunDialog(const std::function<SkinDialog*(QWidget* owner)>& make, QWidget* owner);

// The re-login question, the update message and the like: DialogResult::Confirm or ::Cancel.
int AskConfirm(int kind, const QString& text, const QString& confirmCaption,
               const QString& cancelCaption, QWidget* owner = DefaultDialogOwner());

// A message the operator acknowledges with its one button.
void ShowNotice(int kind, const QString& text, const QString& caption = QStringLiteral("我知道了"),
                QWidget* owner = DefaultDialogOwner());

// While one exists, dialogs are not shown: each is recorded and answered at once, by the
// responder when one is set, else by the next queued answer (or cancel when none is queued;
// a notice always answers 1). So no test ever waits on a modal loop.
class ScriptedDialogs {
public:
    struct Shown {
        QString text;
        int answer;
    };
    using Responder = std::function<int(SkinDialog& dialog)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void QueueAnswer(int answer);
    void SetResponder(Responder responder);
    const std::vector<Shown>& History() const { return m_history; }

    // Used by RunDialog.
    int Answer(SkinDialog& dialog);

private:
    std::vector<int> m_answers;
    Responder m_responder;
    std::vector<Shown> m_history;
};

}  // namespace zelvo

#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "shell/controls/SkinDialog.h"

class QWidget;

namespace zelvo {

// The dialogs' owner when a caller names none (the main window, once it exists).
void SetDefaultDialogOwner(QWidget* owner);
QWidget* DefaultDialogOwner();

// Runs a dialog modally and returns its answer. From a worker thread the dialog is shown on the
// user-interface thread while the worker waits; `make` builds it there.
DialogResult RunDialog(const std::function<SkinDialog*(QWidget* owner)>& make, QWidget* owner);

// The re-login question, the update message and the like: DialogResult::Confirm or ::Cancel.
DialogResult AskConfirm(IconKind kind, const QString& text, const QString& confirmCaption,
                        const QString& cancelCaption, QWidget* owner = DefaultDialogOwner());

// A message the operator acknowledges with its one button.
void ShowNotice(IconKind kind, const QString& text,
                const QString& caption = QStringLiteral("我知道了"),
                QWidget* owner = DefaultDialogOwner());

// While one exists, dialogs are not shown: each is recorded and answered at once, by the
// responder when one is set, else by the next queued answer (or cancel when none is queued;
// a notice always answers Confirm). So no test ever waits on a modal loop.
class ScriptedDialogs {
public:
    struct Shown {
        QString text;
        DialogResult answer;
    };
    using Responder = std::function<DialogResult(SkinDialog& dialog)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void QueueAnswer(DialogResult answer);
    void SetResponder(Responder responder);
    const std::vector<Shown>& History() const { return m_history; }

    // Used by RunDialog.
    DialogResult Answer(SkinDialog& dialog);

private:
    std::vector<DialogResult> m_answers;
    Responder m_responder;
    std::vector<Shown> m_history;
};

}  // namespace zelvo

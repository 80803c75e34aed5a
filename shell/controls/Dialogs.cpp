#include "shell/controls/Dialogs.h"

#include <memory>

#include <QApplication>
#include <QPointer>
#include <QThread>

#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/NoticeDialog.h"

namespace zelvo {
namespace {

QPointer<QWidget> g_owner;
ScriptedDialogs* g_scripted = nullptr;

DialogResult RunOnThisThread(const std::function<SkinDialog*(QWidget*)>& make, QWidget* owner) {
    std::unique_ptr<SkinDialog> dialog(make(owner));
    if (g_scripted) return g_scripted->Answer(*dialog);
    if (owner) {
        QRect area = owner->frameGeometry();
        dialog->move(area.center() - dialog->rect().center());
    }
    dialog->exec();
    return dialog->Answer();
}

}  // namespace

void SetDefaultDialogOwner(QWidget* owner) {
    g_owner = owner;
}

QWidget* DefaultDialogOwner() {
    return g_owner.data();
}

DialogResult RunDialog(const std::function<SkinDialog*(QWidget* owner)>& make, QWidget* owner) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) return RunOnThisThread(make, owner);
    QPointer<QWidget> guardedOwner(owner);
    DialogResult answer = DialogResult::Cancel;
    QMetaObject::invokeMethod(
        app, [&] { answer = RunOnThisThread(make, guardedOwner.data()); },
        Qt::BlockingQueuedConnection);
    return answer;
}

DialogResult AskConfirm(IconKind kind, const QString& text, const QString& confirmCaption,
                        const QString& cancelCaption, QWidget* owner) {
    return RunDialog(
        [&](QWidget* parent) {
            return new ConfirmDialog(kind, text, confirmCaption, cancelCaption, parent);
        },
        owner);
}

void ShowNotice(IconKind kind, const QString& text, const QString& caption, QWidget* owner) {
    RunDialog([&](QWidget* parent) { return new NoticeDialog(kind, text, caption, parent); },
              owner);
}

ScriptedDialogs::ScriptedDialogs() {
    g_scripted = this;
}

ScriptedDialogs::~ScriptedDialogs() {
    if (g_scripted == this) g_scripted = nullptr;
}

void ScriptedDialogs::QueueAnswer(DialogResult answer) {
    m_answers.push_back(answer);
}

void ScriptedDialogs::SetResponder(Responder responder) {
    m_responder = std::move(responder);
}

DialogResult ScriptedDialogs::Answer(SkinDialog& dialog) {
    DialogResult answer = DialogResult::Cancel;
    if (dynamic_cast<NoticeDialog*>(&dialog)) {
        answer = DialogResult::Confirm;
    } else if (m_responder) {
        answer = m_responder(dialog);
    } else if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.erase(m_answers.begin());
    }
    m_history.push_back({dialog.Text(), answer});
    return answer;
}

}  // namespace zelvo

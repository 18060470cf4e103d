#include "window/Dialogs.h"
#include "window/QtText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

namespace tallyroll {

namespace {

class QtDialogs : public Dialogs {
  public:
    void message(QWidget* parent, const std::string& title, const std::string& text,
                 MessageIcon icon) override {
        const QMessageBox::Icon qtIcon = icon == MessageIcon::Warning    ? QMessageBox::Warning
                                         : icon == MessageIcon::Critical ? QMessageBox::Critical
                                                                         : QMessageBox::Information;
        QMessageBox box(qtIcon, Q(title), Q(text), QMessageBox::Ok, parent);
        box.exec();
    }

    std::optional<std::string> input(QWidget* parent, const std::string& prompt,
                                     const std::string& title,
                                     const std::string& defaultText) override {
        bool ok = false;
        const QString answer = QInputDialog::getText(parent, Q(title), Q(prompt), QLineEdit::Normal,
                                                     Q(defaultText), &ok);
        if (!ok) return std::nullopt;
        return answer.toStdString();
    }

    std::optional<std::string> file(QWidget* parent, const std::string& title, FileMode mode,
                                    const std::string& filter, const std::string& suffix) override {
        QFileDialog dialog(parent, Q(title), QString(), Q(filter));
        dialog.setAcceptMode(mode == FileMode::Save ? QFileDialog::AcceptSave
                                                    : QFileDialog::AcceptOpen);
        dialog.setFileMode(mode == FileMode::Save ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(Q(suffix));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }

    bool question(QWidget* parent, const std::string& title, const std::string& text) override {
        return QMessageBox::question(parent, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    std::optional<int> choose(QWidget* parent, const std::string& title, const std::string& label,
                              const std::vector<std::string>& items) override {
        QDialog dialog(parent);
        dialog.setWindowTitle(Q(title));
        auto* layout = new QVBoxLayout(&dialog);
        auto* caption = new QLabel(Q(label), &dialog);
        auto* list = new QListWidget(&dialog);
        caption->setBuddy(list);
        for (const std::string& item : items) list->addItem(Q(item));
        list->setCurrentRow(0);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
        layout->addWidget(caption);
        layout->addWidget(list);
        layout->addWidget(buttons);
        if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
        return list->currentRow();
    }
};

class ScriptedDialogs : public Dialogs {
  public:
    explicit ScriptedDialogs(SessionLog& log) : log_(log) {}

    void message(QWidget*, const std::string& title, const std::string& text,
                 MessageIcon icon) override {
        log_.messages.push_back({title, text, icon});
    }

    std::optional<std::string> input(QWidget*, const std::string& prompt, const std::string& title,
                                     const std::string&) override {
        return log_.answerInput(title, prompt);
    }

    std::optional<std::string> file(QWidget*, const std::string& title, FileMode mode,
                                    const std::string&, const std::string&) override {
        return log_.answerFile(title, mode);
    }

    bool question(QWidget*, const std::string& title, const std::string& text) override {
        return log_.answerQuestion(title, text);
    }

    std::optional<int> choose(QWidget*, const std::string& title, const std::string& label,
                              const std::vector<std::string>& items) override {
        return log_.answerChoice(title, label, items);
    }

  private:
    SessionLog& log_;
};

}  // namespace

std::shared_ptr<Dialogs> MakeQtDialogs() {
    return std::make_shared<QtDialogs>();
}

std::shared_ptr<Dialogs> MakeScriptedDialogs(SessionLog& log) {
    return std::make_shared<ScriptedDialogs>(log);
}

}  // namespace tallyroll

// The help window TForm4: operating instructions read from "operation.txt".
#pragma once
#include <QWidget>

class QPlainTextEdit;

namespace ts {

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    QPlainTextEdit* memo() const { return memo1_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void create();
    QPlainTextEdit* memo1_;
};

}  // namespace ts

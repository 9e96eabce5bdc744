#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace ui {

class ClickLabel;

// The "Vantrel" calculator: decimal in, hexadecimal positional and scientific
// out as the user types, with two pages of explanation.
class coMath : public QWidget {
  Q_OBJECT

 public:
  explicit coMath(QWidget* parent = nullptr);

  static const QString kIntroCaption;
  static const QString kBackCaption;

 public slots:
  void DeciVal_Change(const QString& text);
  void Command1_Click();
  void CoSci_Click();
  void OKButton_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* OKButton_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QLineEdit* DeciVal_ = nullptr;
  QLineEdit* CoVal_ = nullptr;
  QLineEdit* CoSci_ = nullptr;
  ClickLabel* Label9_ = nullptr;
  ClickLabel* Label10_ = nullptr;
  ClickLabel* Label11_ = nullptr;
};

}  // namespace ui

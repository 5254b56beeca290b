#include "exam/statistics_dialog.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/preferences.h"
#include "exam/statistics_widget.h"
#include "platform/process.h"
#include "session/list_session.h"
#include "widgets/screen_fit.h"

namespace {

constexpr int kRefreshMilliseconds = 1000;

// Changes a box only when its figure changed, so that a selection in it stays.
void showFigure(QLineEdit* box, const QString& text) {
    if (box->text() != text)
        box->setText(text);
}

QString realFigure(double value) {
    return QString::fromStdString(formatRealFigure(value));
}

}  // namespace

StatisticsDialog* StatisticsDialog::open(ListSession& session, WindowRegistry& windows,
                                         QWidget* parent) {
    auto* window = new StatisticsDialog(session, windows, parent);
    window->show();
    window->refresh();
    return window;
}

StatisticsDialog::StatisticsDialog(ListSession& session, WindowRegistry& windows, QWidget* parent)
    : QDialog(parent), session_(session), windows_(windows) {
    windows_.enter(this, WindowKind::Statistics, Command::Statistics);
    setObjectName(QStringLiteral("statisticsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Statistics"));

    charts_ = new StatisticsWidget(this);

    auto* figures = new QGridLayout;
    int row = 0;
    int column = 0;
    auto addFigure = [&](const QString& text, const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        auto* label = new QLabel(text, this);
        label->setBuddy(box);
        box->setAccessibleName(text);
        figures->addWidget(label, row, column);
        figures->addWidget(box, row, column + 1);
        if (++row == 5) {
            row = 0;
            column += 2;
        }
        return box;
    };
    numberOfCards_ = addFigure(tr("Number of cards:"), "numberOfCardsEdit");
    knownCards_ = addFigure(tr("Known Cards:"), "knownCardsEdit");
    wrongCards_ = addFigure(tr("Wrong Cards:"), "wrongCardsEdit");
    averagelyAsked_ = addFigure(tr("averagely asked:"), "averagelyAskedEdit");
    totalAsked_ = addFigure(tr("total asked:"), "totalAskedEdit");
    timePerCard_ = addFigure(tr("time per card:"), "timePerCardEdit");
    timeTotal_ = addFigure(tr("time total:"), "timeTotalEdit");
    percentWrong_ = addFigure(tr("% wrong:"), "percentWrongEdit");
    wrongPerAnswer_ = addFigure(tr("Wrong answers/answers:"), "wrongPerAnswerEdit");
    remaining_ = addFigure(tr("remaining examinations:"), "remainingExaminationsEdit");

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    refreshButton_ = new QPushButton(tr("Refresh"), this);
    refreshButton_->setObjectName(QStringLiteral("refreshButton"));
    refreshButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &StatisticsDialog::accept);
    connect(refreshButton_, &QPushButton::clicked, this, &StatisticsDialog::refresh);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(refreshButton_);
    buttons->addWidget(okButton_);

    // No margin above and left of the charts: their pixel positions count from the
    // window's top left. Charts and figures scroll when the screen is too small for them
    // (a large scale factor); the buttons stay in view.
    auto* contents = new QWidget;
    auto* upper = new QVBoxLayout(contents);
    upper->setContentsMargins(0, 0, 0, 0);
    upper->addWidget(charts_, 0, Qt::AlignLeft | Qt::AlignTop);
    figures->setContentsMargins(20, 0, 20, 0);
    upper->addLayout(figures);
    addBackwardFigure(upper);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ContentScrollArea(contents, this));
    buttons->setContentsMargins(20, 8, 20, 12);
    layout->addLayout(buttons);

    setTabOrder(okButton_, refreshButton_);

    // The figures follow an examination running beside the window, and the time figures
    // the clock, without waiting for Refresh.
    auto* ticker = new QTimer(this);
    ticker->setInterval(kRefreshMilliseconds);
    connect(ticker, &QTimer::timeout, this, [this] {
        if (isVisible() && windows_.contains(this))
            refresh();
    });
    ticker->start();
}

void StatisticsDialog::refresh() {
    const StatisticsFigures figures =
        computeStatistics(session_.store(), session_.preferences().maxLevel,
                          {session_.listStartTime(), processMilliseconds()});
    charts_->setFigures(figures);
    showFigure(numberOfCards_, QString::number(figures.numberOfCards));
    showFigure(knownCards_, QString::number(figures.knownCards));
    showFigure(wrongCards_, QString::number(figures.wrongCards));
    showFigure(averagelyAsked_, realFigure(figures.averagelyAsked));
    showFigure(totalAsked_, QString::number(figures.totalAsked));
    showFigure(timePerCard_, realFigure(figures.timePerCard));
    showFigure(timeTotal_, QString::number(static_cast<long long>(figures.timeTotalSeconds)));
    showFigure(percentWrong_, realFigure(figures.percentWrong));
    showFigure(wrongPerAnswer_, realFigure(figures.wrongPerAnswer));
    showFigure(remaining_, QString::number(figures.remainingExaminations));
    showBackwardFigure();
    update();
}

void StatisticsDialog::addBackwardFigure(QVBoxLayout* lower) {
    // Shown only once a card was asked backwards, so that the window stays as it was for
    // those who never do.
    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 0, 20, 0);
    backwardLabel_ = new QLabel(tr("asked backwards:"), this);
    backward_ = new QLineEdit(this);
    backward_->setObjectName(QStringLiteral("askedBackwardsEdit"));
    backward_->setReadOnly(true);
    backward_->setAccessibleName(backwardLabel_->text());
    backwardLabel_->setBuddy(backward_);
    row->addWidget(backwardLabel_);
    row->addWidget(backward_);
    row->addStretch();
    lower->addLayout(row);
    backwardLabel_->hide();
    backward_->hide();
}

void StatisticsDialog::showBackwardFigure() {
    const int count = session_.backwardAnswers();
    backwardLabel_->setVisible(count > 0);
    backward_->setVisible(count > 0);
    if (count > 0)
        showFigure(backward_, QString::number(count));
}

void StatisticsDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Coming back to the window after answering elsewhere shows the figures of now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && windows_.contains(this))
        refresh();
}

#include "Form1.h"

#include "CalloutShapes.h"
#include "ControlTable.h"
#include "SelectionList.h"
#include "StatusTextBox.h"
#include "WindowFonts.h"
#include "WrappingButton.h"

#include "QtFileDialogs.h"

#include "files/FileCommands.h"
#include "files/StorableTextValidator.h"
#include "link/MSComm1.h"
#include "link/PanelProtocol.h"
#include "link/TickWaiter.h"
#include "model/SwitchSelection.h"
#include "operations/PanelOperations.h"

#include <QCloseEvent>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <map>

// The pictures live in this static library; a program linking it must register them.
static void initWindowResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kdr {

namespace {

const QString kTitle = QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM");

// System colour 11, the inactive window border of the standard Windows scheme.
const QColor kWindowBackground(212, 208, 200);

} // namespace

Form1::Form1(const QString &serialDevice, QWidget *parent)
    : QWidget(parent), m_port(std::make_unique<MSComm1>(serialDevice))
{
    initWindowResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/kdr/icon.png")));
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowBackground);
    setPalette(p);
    setAutoFillBackground(true);
    setFont(windowFont(FontRole::WindowDefault));
    buildControls();
    m_waiter = std::make_unique<TickWaiter>(m_state, *m_port);
    m_protocol = std::make_unique<PanelProtocol>(m_state, *m_port, *m_waiter, *m_status);
    m_operations = std::make_unique<PanelOperations>(m_state, *m_port, *m_waiter, *m_protocol, *this, *m_status);
    setFileDialogs(std::make_unique<QtFileDialogs>(this));
}

void Form1::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    m_dialogs = std::move(dialogs);
    m_files = std::make_unique<FileCommands>(m_state, *this, *m_status, *m_dialogs);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    std::map<int, QWidget *> focusOrder;

    for (const ControlSpec &spec : controlTable()) {
        QWidget *widget = nullptr;
        switch (spec.kind) {
        case ControlKind::Picture: {
            auto *picture = new QLabel(this);
            picture->setPixmap(QPixmap(QStringLiteral(":/kdr/panel.png")));
            picture->setScaledContents(true);
            widget = picture;
            break;
        }
        case ControlKind::Caption: {
            auto *caption = new QLabel(spec.text, this);
            QPalette p = caption->palette();
            p.setColor(QPalette::WindowText, Qt::white);  // system colour 14
            caption->setPalette(p);
            widget = caption;
            break;
        }
        case ControlKind::Label: {
            auto *label = new QLabel(spec.text, this);
            label->setWordWrap(true);
            if (spec.name == QLatin1String("Label1") || spec.name == QLatin1String("Label6"))
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            // The name heading stands over the dark picture: give it its own background.
            label->setAutoFillBackground(spec.name == QLatin1String("Label6"));
            if (spec.name == QLatin1String("Label1")) {
                QPalette p = label->palette();
                p.setColor(QPalette::WindowText, QColor(0, 0, 255));
                label->setPalette(p);
            }
            widget = label;
            break;
        }
        case ControlKind::Line: {
            const QRect r = spec.pixelRect();
            widget = new CalloutLine(r.topLeft(), QPoint(r.left() + r.width(), r.top()), this);
            break;
        }
        case ControlKind::Shape:
            widget = new MarkerShape(this);
            break;
        case ControlKind::ModuleList:
        case ControlKind::ChannelList: {
            auto *list = new SelectionList(this);
            list->setFont(windowFont(spec.font));
            list->setFrameShape(QFrame::Box);
            list->setLineWidth(1);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            const int i = spec.switchIndex;
            if (spec.kind == ControlKind::ModuleList) {
                for (const ListEntry &entry : kModuleList)
                    list->addEntry(QString::fromLatin1(entry.text), entry.itemValue);
                list->setSelectionHandler([this, i] { ModuleList_Click(i); });
                m_groups[i].moduleList = list;
            } else {
                for (const ListEntry &entry : kChannelList)
                    list->addEntry(QString::fromLatin1(entry.text), entry.itemValue);
                list->setSelectionHandler([this, i] { ChannelList_Click(i); });
                m_groups[i].channelList = list;
            }
            widget = list;
            break;
        }
        case ControlKind::DesignationBox: {
            auto *box = new QLineEdit(spec.text, this);
            box->setValidator(new StorableTextValidator(box));
            box->setCursorPosition(0);
            m_groups[spec.switchIndex].designation = box;
            widget = box;
            break;
        }
        case ControlKind::NameBox:
            m_panelName = new QLineEdit(this);
            m_panelName->setMaxLength(kPanelNameMaxLength);
            m_panelName->setValidator(new StorableTextValidator(m_panelName));
            widget = m_panelName;
            break;
        case ControlKind::StatusBox:
            m_status = new StatusTextBox(this);
            widget = m_status;
            break;
        case ControlKind::Button: {
            auto *button = new WrappingButton(spec.text, this);
            button->setAutoDefault(false);
            if (spec.name == QLatin1String("READ_CONFIG")) {
                m_readConfig = button;
                connectCommand(button, &Form1::READ_CONFIG_Click);
            } else if (spec.name == QLatin1String("WRITE_CONFIG")) {
                connectCommand(button, &Form1::WRITE_CONFIG_Click);
            } else if (spec.name == QLatin1String("READ_FILE")) {
                connectCommand(button, &Form1::READ_FILE_Click);
            } else {
                connectCommand(button, &Form1::WRITE_FILE_Click);
            }
            widget = button;
            break;
        }
        }

        widget->setObjectName(spec.name);
        if (spec.kind != ControlKind::Line)
            widget->setGeometry(spec.pixelRect());
        if (spec.kind != ControlKind::Picture && spec.kind != ControlKind::Line
            && spec.kind != ControlKind::Shape && spec.kind != ControlKind::ModuleList
            && spec.kind != ControlKind::ChannelList)
            widget->setFont(windowFont(spec.font));
        if (!spec.toolTip.isEmpty())
            widget->setToolTip(spec.toolTip);
        if (spec.tab == kNoTab)
            widget->setFocusPolicy(Qt::NoFocus);
        else
            focusOrder[spec.tab] = widget;
        widget->raise();
    }

    // The title label's height follows its wrapped text.
    if (auto *title = findChild<QLabel *>(QStringLiteral("Label1")))
        title->resize(title->width(), title->heightForWidth(title->width()));

    QWidget *previous = nullptr;
    for (const auto &[tab, widget] : focusOrder) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }

    m_status->hide();
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_initialFocusGiven) {
        m_initialFocusGiven = true;
        m_readConfig->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    // An operation waiting for the panel ends at once and closes the port itself.
    m_waiter->interrupt();
    QWidget::closeEvent(event);
}

bool Form1::operationRunning() const
{
    return m_operations->busy();
}

void Form1::connectCommand(QPushButton *button, void (Form1::*command)())
{
    // A click that arrives while a panel operation waits must not start a second
    // command inside the first.
    connect(button, &QPushButton::clicked, this, [this, command] {
        if (!operationRunning())
            (this->*command)();
    });
}

void Form1::READ_CONFIG_Click()
{
    m_operations->READ_CONFIG_Click();
}

void Form1::WRITE_CONFIG_Click()
{
    m_operations->WRITE_CONFIG_Click();
}

void Form1::READ_FILE_Click()
{
    m_files->READ_FILE_Click();
}

void Form1::WRITE_FILE_Click()
{
    m_files->WRITE_FILE_Click();
}

void Form1::ModuleList_Click(int switchIndex)
{
    const SwitchGroup &group = m_groups[switchIndex];
    const ModuleSelectionEffect effect =
        ModuleSelected(m_state, switchIndex, group.moduleList->selectedPosition());
    if (effect.channelListVisible)
        group.channelList->setVisible(*effect.channelListVisible);
}

void Form1::ChannelList_Click(int switchIndex)
{
    const SwitchGroup &group = m_groups[switchIndex];
    const ChannelSelectionEffect effect =
        ChannelSelected(m_state, switchIndex, group.channelList->selectedPosition());
    if (effect.showDesignation)
        group.designation->show();
}

int Form1::modulePosition(int switchIndex) const
{
    return m_groups.at(switchIndex).moduleList->selectedPosition();
}

int Form1::channelPosition(int switchIndex) const
{
    return m_groups.at(switchIndex).channelList->selectedPosition();
}

void Form1::selectModulePosition(int switchIndex, int position)
{
    m_groups.at(switchIndex).moduleList->setSelectedPosition(position);
}

void Form1::selectChannelPosition(int switchIndex, int position)
{
    m_groups.at(switchIndex).channelList->setSelectedPosition(position);
}

QString Form1::designationText(int switchIndex) const
{
    return m_groups.at(switchIndex).designation->text();
}

void Form1::setDesignationText(int switchIndex, const QString &text)
{
    m_groups.at(switchIndex).designation->setText(text);
    m_groups.at(switchIndex).designation->setCursorPosition(0);
}

void Form1::setDesignationVisible(int switchIndex, bool visible)
{
    m_groups.at(switchIndex).designation->setVisible(visible);
}

QString Form1::panelNameText() const
{
    return m_panelName->text();
}

void Form1::setPanelNameText(const QString &text)
{
    m_panelName->setText(text);
}

} // namespace kdr

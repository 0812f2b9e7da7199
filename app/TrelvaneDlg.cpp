#include "app/TrelvaneDlg.h"

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/DialogTemplate.h"
#include "app/DlgPage1.h"
#include "app/Version.h"
#include "app/WindowMemory.h"
#include "disks/PartitionRow.h"
#include "disks/SystemWmiSource.h"
#include "platform/SystemMenu.h"
#include "report/ResultRow.h"
#include "widgets/MGroupBox.h"
#include "widgets/SettingsStore.h"
#include "widgets/StoreSchema.h"
#include "widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

const char* const kPartitionNotes =
    "Notes for SQL Server Data/Temp/Log Drives:\r\n"
    " > Starting Offset recommendation is 1024.0 KB (as per MSFT best practices).  To Resolve:\r\n"
    "     1) In Disk Management: delete the partition\r\n"
    "     2) Open a CMD window and run DiskPart:\r\n"
    "         2.1) Type: list disk\r\n"
    "         2.2) Where X is your disk, Type: select disk x\r\n"
    "         2.3) Type: create partition primary align=1024\r\n"
    " > Allocation Size recommendation is 64KB.  To Resolve:\r\n"
    "     1) In Disk Management:\r\n"
    "         1.1) Re-Format the drive, and specify [Allocation Unit Size] to be 64KB\r\n"
    "         1.2) Assign a drive letter\r\n";

namespace {

const char* const kTabTitles[8] = {"MB/sec",      "IO/sec",         "IO/sec per Avg_Latency",
                                   "Min_Latency", "Avg_Latency",    "Max_Latency",
                                   "Data",        "Disk Partitions"};

constexpr unsigned kAboutCommand = 0x0010;

constexpr int kFrameArrivesWithinMs = 3000;
constexpr int kFrameWatchMs = 50;

// The organisation and application name of the settings store: the report list, the column widths
// and the window's place of every earlier run are kept under it, so it never changes.
constexpr char kSettingsName[] = "Dovrane";

} // namespace

CTrelvaneDlg::CTrelvaneDlg(std::unique_ptr<IPrompts> prompts, std::unique_ptr<WmiSource> wmi, QWidget* parent)
    : MDialog(parent), m_prompts(prompts ? std::move(prompts) : std::make_unique<QtPrompts>()),
      m_wmi(wmi ? std::move(wmi) : CreateSystemWmiSource()) {
    setWindowTitle(QStringLiteral("Trelvane"));
    setFont(DialogFont());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setAcceptDrops(true);
    m_hIcon = MakeAppIcon();
    CreateMenu();
    CreateControls();
    ConnectHandlers();
    ConnectChartPictures();
    ConnectRunDetails();
    AddToolTips();
    m_tabCtrl->SetAppName(QString::fromLatin1(kSettingsName));
    m_listData->SetAppName(kSettingsName);
    m_listPartitions->SetAppName(kSettingsName);
    m_comboReports->RegPath().SetAppName(QString::fromLatin1(kSettingsName));
    m_maxLatency = 0.0;
    m_bResizable = true;
    m_partitionsScanned = false;
}

CTrelvaneDlg::~CTrelvaneDlg() {
    if (!m_destroyed)
        OnDestroy();
}

void CTrelvaneDlg::CreateMenu() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(QStringLiteral("&File"));
    QAction* open = file->addAction(QStringLiteral("&Open"));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &CTrelvaneDlg::OnFileOpen);
    QAction* compare = file->addAction(QStringLiteral("&Compare Reports..."));
    compare->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(compare, &QAction::triggered, this, &CTrelvaneDlg::OnCompareReports);
    layout->setMenuBar(m_menuBar);
    m_client = new QWidget(this);
    layout->addWidget(m_client);
}

void CTrelvaneDlg::CreateControls() {
    const DialogUnits units(font());
    const QSize client = units.ToPixels(kMainWidthDlu, kMainHeightDlu);
    for (const ControlSpec& item : MainWindowTemplate()) {
        QWidget* control = nullptr;
        const QString text = QString::fromLatin1(item.text);
        switch (item.kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, m_client);
            button->setDefault(item.kind == ControlKind::DefaultButton);
            button->setAutoDefault(false);
            control = button;
            if (item.id == IDC_REFRESH)
                m_btnRefresh = button;
            break;
        }
        case ControlKind::Tabs:
            control = m_tabCtrl = new MTabCtrl(m_client);
            break;
        case ControlKind::Combo:
        case ControlKind::SortedCombo: {
            MComboBox* combo = nullptr;
            if (item.id == IDC_REPORTS)
                combo = m_comboReports = new MRegCombo(m_client);
            else
                combo = new MComboBox(m_client);
            combo->SetSorted(item.kind == ControlKind::SortedCombo);
            if (item.id == IDC_TYPE)
                m_comboType = combo;
            else if (item.id == IDC_DIRECTION)
                m_comboDirection = combo;
            else if (item.id == IDC_OUTSTANDING)
                m_comboOutstanding = combo;
            control = combo;
            break;
        }
        case ControlKind::Label:
            if (item.id == IDC_STATUS)
                control = m_status = new MStatic(m_client);
            else
                control = new QLabel(text, m_client);
            break;
        case ControlKind::GroupBox:
            control = new MGroupBox(text, m_client);
            break;
        case ControlKind::Chart:
            control = new CChartWnd(m_client);
            (item.id == IDC_CHART ? m_chart : m_chartAverages) = static_cast<CChartWnd*>(control);
            break;
        case ControlKind::List:
            control = new CListCtrlEx(m_client);
            (item.id == IDC_LIST_DATA ? m_listData : m_listPartitions) = static_cast<CListCtrlEx*>(control);
            break;
        case ControlKind::Notes: {
            auto* notes = new QPlainTextEdit(m_client);
            notes->setReadOnly(true);
            notes->setLineWrapMode(QPlainTextEdit::NoWrap);
            notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            control = m_editNotes = notes;
            break;
        }
        }
        // The template's rectangle whatever the style: a style's own sizes would push the controls of
        // the fixed block onto each other.
        const QRect geometry = TemplateRect(item, units);
        if (item.kind == ControlKind::Tabs)
            m_tabCtrl->SetTemplateGeometry(geometry, client.width() - geometry.x() - geometry.width());
        else
            control->setGeometry(geometry);
        if (item.id > 0)
            SetControlId(control, item.id);
        if (item.kind == ControlKind::GroupBox)
            control->lower(); // frames sit behind the controls they frame
        if (item.hidden)
            control->hide();
    }
    m_templateMinimum = client / 2;
    m_client->setMinimumSize(m_templateMinimum);
    resize(client.width(), client.height() + m_menuBar->sizeHint().height());
}

void CTrelvaneDlg::ConnectHandlers() {
    connect(Button(IDOK_CLOSE), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(IDCANCEL_HIDDEN), &QPushButton::clicked, this, &QDialog::reject);
    for (MComboBox* filter : {m_comboType, m_comboDirection, m_comboOutstanding})
        connect(filter, qOverload<int>(&QComboBox::activated), this, [this](int) { OnFilterChange(); });
    connect(m_comboReports, qOverload<int>(&QComboBox::activated), this,
            [this](int) { OnSelchangeReportCombo(); });
    const std::pair<int, void (CTrelvaneDlg::*)()> sorts[] = {
        {IDC_SORT_DIRECTION, &CTrelvaneDlg::OnSortDirection},
        {IDC_SORT_NUMBER, &CTrelvaneDlg::OnSortNumber},
        {IDC_SORT_TYPE, &CTrelvaneDlg::OnSortType},
        {IDC_SORT_SIZE, &CTrelvaneDlg::OnSortSize},
        {IDC_SORT_OUTSTANDING, &CTrelvaneDlg::OnSortOutstanding},
        {IDC_SORT_IOS, &CTrelvaneDlg::OnSortIOs},
        {IDC_SORT_MBS, &CTrelvaneDlg::OnSortMBs},
        {IDC_SORT_MIN_LATENCY, &CTrelvaneDlg::OnSortMinLatency},
        {IDC_SORT_AVG_LATENCY, &CTrelvaneDlg::OnSortAvgLatency},
        {IDC_SORT_MAX_LATENCY, &CTrelvaneDlg::OnSortMaxLatency},
    };
    for (const auto& [id, handler] : sorts)
        connect(Button(id), &QPushButton::clicked, this, handler);
    connect(m_listData->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CTrelvaneDlg::OnDataHeaderClicked);
    for (CListCtrlEx* list : {m_listData, m_listPartitions})
        connect(list, &CListCtrlEx::Warning, this, [this](const QString& text) {
            m_prompts->Message(this, text, QMessageBox::Ok, QMessageBox::Warning);
        });
    connect(m_btnRefresh, &QPushButton::clicked, this, &CTrelvaneDlg::OnRefresh);
    connect(Button(IDC_EXPORT), &QPushButton::clicked, this, &CTrelvaneDlg::OnExport);
}

QPushButton* CTrelvaneDlg::Button(int controlId) const {
    return qobject_cast<QPushButton*>(Control(controlId));
}

bool CTrelvaneDlg::OnInitDialog() {
    setWindowTitle(windowTitle() + QStringLiteral(" " TRELVANE_VERSION));
    m_editNotes->setPlainText(QString::fromLatin1(kPartitionNotes));

    for (int i = 0; i < 8; ++i) {
        m_pages[static_cast<size_t>(i)] = new CDlgPage1(m_client);
        m_tabCtrl->AddSSLPage(QString::fromLatin1(kTabTitles[i]), i, m_pages[static_cast<size_t>(i)]);
    }
    m_tabCtrl->NotifyOnTabSel(this);

    m_chartSettings.m_labelWidth = 180;
    m_chartSettings.m_barIndent = 0;
    for (CChartWnd* chart : {m_chart, m_chartAverages}) {
        chart->Init(m_chartSettings);
        chart->EnableVertScrollBar(true);
        chart->EnableTitleTips(1, 0);
    }

    m_comboReports->SetItemDataMode(0);
    m_comboReports->SetRegPath(QString::fromLatin1(kSettingsName), QString::fromLatin1(kSettingsName),
                               QStringLiteral("Reports"));
    m_comboReports->LoadFromReg();
    // A damaged or unreadable list is said once, here; the entries that could be read are listed.
    if (!m_comboReports->StoreProblem().isEmpty())
        m_prompts->Message(this, m_comboReports->StoreProblem(), QMessageBox::Ok, QMessageBox::Warning);
    m_comboReports->SetBesideWriter([this](const StoredValues& now, StoredValues& into) {
        AppendWindowMemory(*this, m_tabCtrl->GetCurSel(), now, into, ChosenPlace());
        AppendRememberedFolders(m_foldersChosen, now, into);
        // The "Compare Reports" window writes its group itself, as it changes; the list keeps it.
        KeepGroup(now, kCompareGroup, m_comboReports->RegPath().Key(), into);
    });

    m_listPartitions->Setup();
    m_listPartitions->MRegObj::Init(kSettingsName, kSettingsName);
    AddPartitionColumns(*m_listPartitions);
    m_listPartitions->hide();

    m_listData->Setup();
    m_listData->MRegObj::Init(kSettingsName, kSettingsName);
    AddResultColumns(*m_listData);
    m_listData->hide();

    AppendSystemMenuCommand(this, m_menuBar, QStringLiteral("&About Trelvane..."), kAboutCommand,
                            [this](unsigned id, qintptr lParam) { return OnSysCommand(id, lParam); });

    setWindowIcon(m_hIcon);

    AddControl(IDC_CHART, eSizeStretch, eSizeNone, eSizeStretch);
    AddControl(IDC_LIST_DATA, eSizeStretch, eSizeNone, eSizeStretch);
    AddControl(IDC_LIST_PARTITIONS, eSizeStretch, eSizeNone, eSizeStretch);
    AddControl(IDC_NOTES, eSizeStretch, eSizeMove, eSizeMove);
    AddControl(IDC_REFRESH, eSizeNone, eSizeMove, eSizeMoveKeep);
    AddControl(IDOK_CLOSE, eSizeMove, eSizeMove, eSizeMoveKeep);

    RestorePlacement();

    if (!InitSecurity())
        return false;

    if (!m_startupReport.isEmpty())
        OpenReport(m_startupReport);
    else if (m_comboReports->GetCount() > 0)
        OnSelchangeReportCombo();
    else
        ShowTab(m_tabCtrl->GetCurSel());
    return true;
}

void CTrelvaneDlg::OpenInside(const QRect& available) {
    m_openedOn = available;
    // The frame is fitted in with the window, with the margins known so far: on X11 a window manager
    // adds its frame only after the window is shown, and the fit is made again once it is known.
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    m_frameAtFit = frame;
    const QRect room = available.marginsRemoved(frame);
    const QSize menu(0, m_menuBar->sizeHint().height());
    m_client->setMinimumSize(m_templateMinimum.boundedTo(room.size() - menu).expandedTo(QSize(0, 0)));
    layout()->activate(); // the window's own minimum follows now, not at the next layout pass
    // The size the user chose: the remembered one, else the template's.
    if (!m_chosenSize.isValid())
        m_chosenSize = m_rememberedPlace.isValid() ? m_rememberedPlace.size() : size();
    QRect wanted(QPoint(), m_chosenSize);
    wanted.moveCenter(room.center());
    if (m_rememberedPlace.isValid()) // where the user left it, fitted in as a first place is
        wanted = QRect(m_rememberedPlace.topLeft(), m_chosenSize);
    wanted.translate(m_slotOffset, m_slotOffset); // a second window beside the first, not over it
    const QRect placed = FitRectInside(wanted, room);
    m_fittedSize = placed.size() == m_chosenSize ? QSize() : placed.size();
    setGeometry(placed);
}

QRect CTrelvaneDlg::ChosenPlace() const {
    QRect place = isMaximized() ? normalGeometry() : geometry();
    // Shrunk to fit this screen (a high scale factor, a small display), the window keeps the size the
    // user chose for the next start, where it may fit whole.
    if (m_fittedSize.isValid() && place.size() == m_fittedSize)
        place.setSize(m_chosenSize);
    return place;
}

void CTrelvaneDlg::FitAgainForTheFrame() {
    if (!m_watchFrame || windowHandle() == nullptr || m_openedOn.isEmpty())
        return;
    if (windowHandle()->frameMargins() == m_frameAtFit)
        return;
    // The window manager framed the window (its parts may come one after another, as its borders and
    // title bar are added).
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    if (!m_openedOn.contains(frameGeometry()))
        OpenInside(m_openedOn);
}

void CTrelvaneDlg::moveEvent(QMoveEvent* event) {
    MDialog::moveEvent(event);
    FitAgainForTheFrame();
}

void CTrelvaneDlg::resizeEvent(QResizeEvent* event) {
    MDialog::resizeEvent(event);
    FitAgainForTheFrame();
}

void CTrelvaneDlg::setVisible(bool visible) {
    if (visible && !m_placed && screen() != nullptr) {
        m_placed = true;
        create(); // the platform window, so its frame margins are known
        // Cascaded by a title bar's height per window already open, as desktops place new windows.
        const int titleBar = std::max(windowHandle()->frameMargins().top(),
                                      style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
        m_slotOffset =
            m_slot.Take(SettingsStore(QString::fromLatin1(kSettingsName), QString::fromLatin1(kSettingsName))
                            .Folder()) *
            titleBar;
        // A remembered place opens on its own screen, when that screen is still there.
        QScreen* target =
            m_rememberedPlace.isValid() ? QGuiApplication::screenAt(m_rememberedPlace.center()) : nullptr;
        OpenInside((target != nullptr ? target : screen())->availableGeometry());
        // A window manager frames a window within moments of its showing, and the widget is not always
        // told (the window stays where it was, the frame goes around it): besides each move and resize,
        // look for the frame a few times a second. After that the place is the user's, and a frame that
        // changes (another theme) moves nothing.
        m_watchFrame = true;
        auto* frameWatch = new QTimer(this);
        connect(frameWatch, &QTimer::timeout, this, [this, frameWatch, ticks = 0]() mutable {
            FitAgainForTheFrame();
            if (++ticks * kFrameWatchMs >= kFrameArrivesWithinMs) {
                m_watchFrame = false;
                frameWatch->deleteLater();
            }
        });
        frameWatch->start(kFrameWatchMs);
    }
    MDialog::setVisible(visible);
}

long CTrelvaneDlg::OnTabSelChange(quintptr, qintptr) {
    ShowTab(m_tabCtrl->GetCurSel());
    return 0;
}

void CTrelvaneDlg::ShowTab(int index) {
    const TabChartPlan plan = PrepareTabChart(index);
    // What the tab does not show is hidden; what it shows again is left shown: a table hidden for a
    // moment would lose the keyboard, and the selected rows with it.
    const bool partitions = index == kPartitionsTab;
    if (!partitions)
        m_btnRefresh->hide();
    if (index != kDataTab)
        m_listData->hide();
    if (!partitions) {
        m_listPartitions->hide();
        m_editNotes->hide();
    }
    if (index == kDataTab || partitions)
        m_chart->hide();
    if (index == kDataTab) {
        m_listData->show();
        return;
    }
    if (partitions) {
        m_listPartitions->show();
        m_editNotes->show();
        m_btnRefresh->show();
        if (!m_partitionsScanned) {
            ReadDiskPartitions();
            m_partitionsScanned = true;
        }
        return;
    }
    m_chart->show();
    if (m_listData->GetItemCount() == 0)
        return;
    ++m_chartBuilds;
    BuildTabChart(index, plan);
}

bool CTrelvaneDlg::OnSysCommand(unsigned id, qintptr) {
    if ((id & 0xFFF0u) != kAboutCommand)
        return false; // the system's own commands: move, size, close...
    CAboutDlg about(m_hIcon, this);
    about.exec();
    return true;
}

void CTrelvaneDlg::OnDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    // A list that could not be saved is said once, at the close that lost it.
    m_comboReports->SaveToReg();
    if (!m_comboReports->SaveProblem().isEmpty())
        m_prompts->Message(this, m_comboReports->SaveProblem(), QMessageBox::Ok, QMessageBox::Warning);
    m_slot.Release();
    ReleaseSecurity();
}

void CTrelvaneDlg::done(int result) {
    OnDestroy();
    MDialog::done(result);
}

void CTrelvaneDlg::RestorePlacement() {
    const RememberedWindow remembered = ReadWindowMemory(m_comboReports->ValuesRead());
    m_folders = ReadRememberedFolders(m_comboReports->ValuesRead());
    // The place is taken when the window is first shown, fitted into the screen it was on.
    m_rememberedPlace = remembered.place;
    if (remembered.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    const int tab = remembered.tab;
    if (tab < 0 || tab >= m_tabCtrl->count())
        return;
    // Quietly: the start-up load that follows shows the tab, and a first visit to "Disk Partitions"
    // scans there once.
    const QSignalBlocker quiet(m_tabCtrl);
    m_tabCtrl->SetCurSel(tab);
}

void CTrelvaneDlg::SetStatus(const QString& text, std::uint32_t background, bool whiteText) {
    if (whiteText)
        m_status->SetTextColor(0xFFFFFF);
    m_status->SetText(text);
    m_status->SetBkColor(background);
}

#include "workspace/ui/ExportDlg.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "platform/UpDownControl.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WidgetDialogControls.h"
#include "resources/Art.h"
#include "workspace/SettingsExchange.h"
#include "workspace/SettingsStore.h"

namespace {
using D = ExportDlg;
constexpr const char* kSection = "Export";

// 350 x 229 dialog units; controls in tab order. The two group boxes only frame what they hold.
const ControlDef kControls[] = {
    {1, ControlKind::DefPushButton, "OK", 290, 7, 50, 14},
    {2, ControlKind::PushButton, "Cancel", 290, 24, 50, 14},
    {D::IDC_OUTPUT_FILE, ControlKind::Edit, "", 190, 187, 119, 14},
    {D::IDC_APPEND, ControlKind::CheckBox, "Append if file exists", 190, 206, 76, 10},
    {D::IDC_BROWSE, ControlKind::PushButton, "...", 314, 187, 15, 14},
    {D::IDC_OUTPUT_GROUP, ControlKind::GroupBox, "Output file", 178, 171, 159, 51},
    {D::IDC_STRUCT_AND_DATA, ControlKind::RadioButton, "Struct and data", 190, 59, 65, 10, ControlFlag::GroupStart},
    {D::IDC_STRUCT_ONLY, ControlKind::RadioButton, "Struct only", 190, 72, 49, 10},
    {D::IDC_DATA_ONLY, ControlKind::RadioButton, "Data only", 190, 86, 46, 10},
    {D::IDC_MAX_RECORDS, ControlKind::Edit, "", 190, 146, 55, 14},
    {D::IDC_MAX_RECORDS_SPIN, ControlKind::Placeholder, "", 251, 146, 11, 14},
    {D::IDC_MAX_RECORDS_LABEL, ControlKind::Static, "Max records ( 0 = all )", 190, 136, 68, 8},
    {D::IDC_MODE_GROUP, ControlKind::GroupBox, "", 178, 47, 159, 121},
    {D::IDC_TABLES, ControlKind::Placeholder, "", 9, 5, 159, 197},
    {D::IDC_ALL, ControlKind::PushButton, "All", 12, 209, 43, 14},
    {D::IDC_NONE, ControlKind::PushButton, "None", 64, 209, 43, 14},
    {D::IDC_AUTONUMBERS, ControlKind::CheckBox, "Insert autonumbers", 211, 102, 76, 10},
    {D::IDC_DROP_OR_ZAP, ControlKind::CheckBox, "Insert Drop / Zap table statement", 211, 117, 121, 10},
    {D::IDC_TARGET_LABEL, ControlKind::Static, "Target table name", 12, 11, 58, 8},
    {D::IDC_TARGET_NAME, ControlKind::Edit, "", 12, 24, 161, 14},
};

// The image of a table kind: 0 table, 1 synonym or link, 2 view; any other kind shows a table.
int ImageOfKind(int kind) {
  if (kind == 2) return 1;
  if (kind == 4) return 2;
  return 0;
}
}  // namespace

ExportDlg::ExportDlg(QWidget* parent) : ExportDlg(parent, AppSettings()) {}

ExportDlg::ExportDlg(QWidget* parent, SettingsStore& settings) : QDialog(parent), settings_(settings) {
  setWindowTitle(QStringLiteral("Export"));
  setObjectName(QStringLiteral("ExportDlg"));
  Build();
}

void ExportDlg::Build() {
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(350, 229)));
  // The layout was drawn for a narrower font: a text that does not fit its place gets the room it
  // needs, as far as the dialog reaches.
  for (int id : {IDC_APPEND, IDC_STRUCT_AND_DATA, IDC_STRUCT_ONLY, IDC_DATA_ONLY, IDC_MAX_RECORDS_LABEL,
                 IDC_AUTONUMBERS, IDC_DROP_OR_ZAP, IDC_TARGET_LABEL}) {
    QWidget* control = controls_.Get(id);
    const int room = width() - control->x() - units.X(4);
    control->resize(std::min(std::max(control->width(), control->sizeHint().width()), room), control->height());
  }
  // Frames stay behind the controls they hold, so that clicks reach those.
  for (int id : {IDC_OUTPUT_GROUP, IDC_MODE_GROUP}) controls_.Get(id)->lower();

  // The list of tables: report style with one column, check boxes and the kind images.
  QWidget* listPlace = controls_.Get(IDC_TABLES);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("control%1").arg(IDC_TABLES));
  list_->setGeometry(listPlace->geometry());
  list_->setColumnCount(1);
  list_->setHeaderLabels({QStringLiteral("Tables")});
  list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->header()->setSectionsMovable(false);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setIconSize(QSize(22, 15));
  list_->setFrameShape(QFrame::StyledPanel);
  QWidget::setTabOrder(listPlace, list_);
  listPlace->hide();

  QWidget* spinPlace = controls_.Get(IDC_MAX_RECORDS_SPIN);
  spin_ = new UpDownControl(this);
  spin_->setObjectName(QStringLiteral("control%1").arg(IDC_MAX_RECORDS_SPIN));
  spin_->setGeometry(spinPlace->geometry());
  spinPlace->hide();
  spin_->SetBuddy(controls_.As<QLineEdit>(IDC_MAX_RECORDS));
  spin_->SetRange(0, 10000);
  // Attached to the right side of its edit, as a buddy is.
  QLineEdit* maxEdit = controls_.As<QLineEdit>(IDC_MAX_RECORDS);
  spin_->setGeometry(maxEdit->geometry().right() + 1, maxEdit->y(), spin_->width(), maxEdit->height());

  controls_.As<QLineEdit>(IDC_OUTPUT_FILE)->setCursorPosition(0);

  connect(controls_.As<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
  connect(controls_.As<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
  connect(controls_.As<QPushButton>(IDC_BROWSE), &QPushButton::clicked, this, [this] { Browse(); });
  connect(controls_.As<QPushButton>(IDC_ALL), &QPushButton::clicked, this, [this] { CheckAll(true); });
  connect(controls_.As<QPushButton>(IDC_NONE), &QPushButton::clicked, this, [this] { CheckAll(false); });
  for (int id : {IDC_STRUCT_AND_DATA, IDC_STRUCT_ONLY, IDC_DATA_ONLY})
    connect(controls_.As<QAbstractButton>(id), &QAbstractButton::clicked, this, [this] { ApplyEnablingRule(); });
}

void ExportDlg::ExchangeSettings(bool store) {
  WidgetDialogControls controls(controls_);
  const ExchangeDirection direction = store ? ExchangeDirection::Store : ExchangeDirection::Load;
  ExchangeText(settings_, controls, direction, IDC_OUTPUT_FILE, kSection, "OutputFile");
  ExchangeCheck(settings_, controls, direction, IDC_APPEND, kSection, "AppendMode");
  ExchangeRadio(settings_, controls, direction, IDC_STRUCT_AND_DATA, IDC_DATA_ONLY, kSection, "ExportMode");
  ExchangeText(settings_, controls, direction, IDC_MAX_RECORDS, kSection, "MaxRecords");
  ExchangeCheck(settings_, controls, direction, IDC_AUTONUMBERS, kSection, "InsertAutonumbers");
  ExchangeCheck(settings_, controls, direction, IDC_DROP_OR_ZAP, kSection, "InsertDropOrZapTableStatement");
}

void ExportDlg::Prepare() {
  if (prepared_) return;
  prepared_ = true;
  ExchangeSettings(false);
  controls_.As<QLineEdit>(IDC_OUTPUT_FILE)->setCursorPosition(0);
  list_->setColumnWidth(0, list_->viewport()->width());

  const bool tableMode = tables_ != nullptr;
  list_->setVisible(tableMode);
  controls_.Get(IDC_ALL)->setVisible(tableMode);
  controls_.Get(IDC_NONE)->setVisible(tableMode);
  controls_.Get(IDC_TARGET_LABEL)->setVisible(!tableMode);
  controls_.Get(IDC_TARGET_NAME)->setVisible(!tableMode);
  if (tableMode) {
    const std::string selected = settings_.GetString(kSection, "SelectedTableList");
    const QList<QPixmap> images = TableKindImages();
    for (const auto& [name, kind] : *tables_) {
      auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(name)});
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      const int image = ImageOfKind(kind);
      if (image < images.size()) item->setIcon(0, QIcon(images[image]));
      // A plain substring search: a saved "Orders|" checks "Order" too.
      item->setCheckState(0, selected.find(name) != std::string::npos ? Qt::Checked : Qt::Unchecked);
    }
  } else {
    controls_.As<QLineEdit>(IDC_TARGET_NAME)
        ->setText(QString::fromStdString(settings_.GetString(kSection, "TargetTableName")));
  }
  ApplyEnablingRule();
}

void ExportDlg::ApplyEnablingRule() {
  const bool structOnly = controls_.As<QAbstractButton>(IDC_STRUCT_ONLY)->isChecked();
  for (int id : {IDC_AUTONUMBERS, IDC_MAX_RECORDS, IDC_MAX_RECORDS_LABEL}) controls_.Get(id)->setEnabled(!structOnly);
}

void ExportDlg::CheckAll(bool checked) {
  for (int i = 0; i < list_->topLevelItemCount(); ++i)
    list_->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void ExportDlg::Browse() {
  auto* path = controls_.As<QLineEdit>(IDC_OUTPUT_FILE);
  FileDialogRequest request;
  request.parent = this;
  request.mode = FileDialogRequest::Mode::Save;
  request.defaultExtension = "sql";
  request.filter = "Script files (*.sql)|*.sql|All files (*.*)|*.*||";
  request.initialName = path->text().toStdString();
  request.noReadOnlyReturn = true;
  // Appending to a file is no reason to ask whether to replace it.
  request.overwritePrompt = !controls_.As<QAbstractButton>(IDC_APPEND)->isChecked();
  if (std::optional<std::string> chosen = Prompts().FileDialog(request)) {
    path->setText(QString::fromStdString(*chosen));
    path->setCursorPosition(0);
  }
}

void ExportDlg::accept() {
  Prepare();
  if (tables_) {
    tables_->clear();
    std::string selected;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list_->topLevelItem(i);
      if (item->checkState(0) != Qt::Checked) continue;
      const std::string name = item->text(0).toStdString();
      tables_->emplace_back(name, 0);
      selected += name + "|";
    }
    settings_.SetText(kSection, "SelectedTableList", selected);
  } else {
    targetTableName_ = controls_.As<QLineEdit>(IDC_TARGET_NAME)->text().toStdString();
    settings_.SetText(kSection, "TargetTableName", targetTableName_);
  }
  ExchangeSettings(true);
  QDialog::accept();
}

void ExportDlg::showEvent(QShowEvent* event) {
  Prepare();
  QDialog::showEvent(event);
}

void ExportDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (list_) list_->setColumnWidth(0, list_->viewport()->width());
}

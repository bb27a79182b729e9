#include "app/english_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <iterator>

#include "app/skarvel_form.h"
#include "app/tform1.h"
#include "platform/web_addresses.h"

namespace {

constexpr TextProperty Caption = TextProperty::Caption;
constexpr TextProperty Hint = TextProperty::Hint;
constexpr TextProperty Column = TextProperty::Column;
constexpr TextProperty DialogTitle = TextProperty::DialogTitle;
constexpr TextProperty DialogFilter = TextProperty::DialogFilter;

// The English texts as they stand, typos included. Kept in Japanese in both
// languages: Panel1's hint, OpenDialog1's title, the main caption, TForm25
// and TForm31. A file filter's description already holds its pattern.
const EnglishText kTexts[] = {
    // The main window.
    {1, "SpeedButton3", Hint, "Aircraft list window"},
    {1, "SpeedButton4", Hint, "Aircraft search window"},
    {1, "SpeedButton6", Hint, "Text window"},
    {1, "SpeedButton16", Hint, "Display tracks"},
    {1, "SpeedButton8", Hint, "Display only newest aircraft"},
    {1, "SpeedButton9", Hint, "Flight-data selector:Flight level"},
    {1, "SpeedButton10", Hint, "Flight-data selector:Time"},
    {1, "SpeedButton11", Hint, "Flight-data selector:Flight data"},
    {1, "SpeedButton12", Hint, "Move the map to left"},
    {1, "SpeedButton15", Hint, "Move the map to right"},
    {1, "SpeedButton13", Hint, "Move the map to up"},
    {1, "SpeedButton14", Hint, "Move the map to down"},
    {1, "SpeedButton20", Hint, "Zoom out"},
    {1, "SpeedButton19", Hint, "Zoom in"},
    {1, "ComboBox1", Hint, "Size of map"},
    {1, "SpeedButton21", Hint, "Show the VOR-DME"},
    {1, "SpeedButton22", Hint, "Show the VORTAC"},
    {1, "SpeedButton23", Hint, "Show the NDB"},
    {1, "SpeedButton24", Hint, "Show the WAYPOINT"},
    {1, "SpeedButton28", Hint, "Show the AIRPOT"},
    {1, "SpeedButton25", Hint, "Show the VOR airway lines"},
    {1, "SpeedButton26", Hint, "Show the NDB airway lines"},
    {1, "SpeedButton27", Hint, "Show the NAV airway lines"},
    {1, "ComboBox2", Hint, "Company selector"},
    {1, "SpeedButton7", Hint, "Aircraft Information"},
    {1, "SpeedButton17", Hint, "Monitor"},
    {1, "SpeedButton1", Hint, "IP connection"},
    {1, "SpeedButton18", Hint, "Search ACARS messages"},
    {1, "SpeedButton2", Hint, "Show in 3-D map"},
    {1, "SpeedButton5", Hint, "Show in 2-D map"},
    {1, "N1", Caption, "Save map image"},
    {1, "N3", Caption, "Copy map image to clip-board"},
    {1, "N6", Caption, "Delete Plots and Aircraft list window"},
    {1, "N10", Caption, "Delete selected plot"},
    {1, "N11", Caption, "Display position report window"},
    {1, "N26", Caption, "Display elevation window"},
    {1, "N8", Caption, "Airport name"},
    {1, "N21", Caption, "Carrier prefix"},
    {1, "flightcsv1", Caption, "Open flight file"},
    {1, "airlinecsv1", Caption, "Open aircraft file"},
    {1, "N17", Caption, "Open file folder"},
    {1, "N13", Caption, "Chat window"},
    {1, "N14", Caption, "Information of packet"},
    {1, "N19", Caption, "Settings"},
    {1, "SV2GE1", Caption, "Display setting"},
    {1, "N29", Caption, "Recoding settings"},
    {1, "N4", Caption, "Version information"},
    {1, "N5", Caption, "Exit"},
    {1, "N24", Caption, "Show flight number"},
    {1, "N25", Caption, "Show registration number"},
    {1, "N28", Caption, "Delete zero when display flight number"},
    {1, "N27", Caption, "Display modem and time window"},
    {1, "N38", Caption, "Show easy to use buttons"},
    {1, "N34", Caption, "Change map"},
    {1, "N36", Caption, "Re list map files"},
    {1, "N37", Caption, "Map Debug Mode"},
    {1, "HFDL1", Caption, "Status of receiving data"},
    {1, "N30", Caption, "List of active HFDL frequency"},
    {1, "ICAO241", Caption, "Status of HFDL aircraft registry number"},
    {1, "HFDL2", Caption, "Show HFDL system table data"},
    {1, "N32", Caption, "HFDL automatic remote frequncy control"},
    {1, "N33", Caption, "Show selcal control window"},
    {1, "N20", Caption, "Delete all files at Logs folder"},
    {1, "EachLogs1", Caption, "Delete all files at Eachlog folder"},
    {1, "N16", Caption, "Import RAW log files"},
    {1, "DATLOG1", Caption, "Import DAT log files"},
    {1, "SavePictureDialog1", DialogTitle, "Save to bitmap file"},
    {1, "SavePictureDialog1", DialogFilter, "bitmap (*.bmp)"},
    {1, "OpenDialog1", DialogFilter, "Log File(*.log)"},
    // The aircraft search window.
    {2, "", Caption, "Aircraft search window"},
    {2, "SpeedButton4", Hint, "Add"},
    {2, "SpeedButton3", Hint, "Edit"},
    {2, "SpeedButton2", Hint, "Delete"},
    {2, "SpeedButton5", Hint, "E-mail setting"},
    {2, "SpeedButton6", Hint, "Send a test mail"},
    {2, "SpeedButton1", Hint, "Send"},
    {2, "SpeedButton7", Hint, "Pop-up"},
    {2, "SpeedButton8", Hint, "Sound"},
    {2, "SpeedButton9", Hint, "Log"},
    {2, "GroupBox2", Caption, "New receive information of aircraft search"},
    {2, "Label25", Caption, "Aircraft search list"},
    {2, "Label9", Caption, "Logs of receive information"},
    {2, "Label1", Caption, "Reg No."},
    {2, "Label2", Caption, "Flight"},
    // The processing settings dialog.
    {3, "", Caption, "Setting"},
    {3, "GroupBox5", Caption, "VHF ACARS MES display filtering"},
    {3, "CheckBox4", Caption, "Squitter"},
    {3, "CheckBox5", Caption, "Freq"},
    {3, "CheckBox9", Caption, "TIS"},
    {3, "CheckBox10", Caption, "POS"},
    {3, "GroupBox4", Caption, "ACARS message process"},
    {3, "CheckBox2", Caption, "JC letter convert"},
    {3, "CheckBox3", Caption, "JD letter convert"},
    {3, "CheckBox1", Caption, "Completly 10 point"},
    {3, "CheckBox6", Caption, "Display all plots"},
    {3, "GroupBox15", Caption, "E-mail setting"},
    {3, "CheckBox7", Caption, "Shift JIS Convert"},
    {3, "CheckBox8", Caption, "MIME64 Convert"},
    {3, "GroupBox7", Caption, "Log files"},
    {3, "CheckBox13", Caption, "Auto change name"},
    {3, "CheckBox14", Caption, "Auto delete file"},
    {3, "Label1", Caption, "Delete day"},
    {3, "Label3", Caption, ""},
    {3, "GroupBox3", Caption, "No add follow carriers (two letter, add comma bitween letters)"},
    {3, "GroupBox2", Caption, "Receive data from network"},
    // The display settings dialog.
    {4, "", Caption, "Display setting"},
    {4, "GroupBox1", Caption, "Plot color"},
    {4, "Label1", Caption, "Header"},
    {4, "Label2", Caption, "Plot"},
    {4, "Label3", Caption, "Highlight"},
    {4, "Label4", Caption, "Shadow"},
    {4, "GroupBox3", Caption, "Display effect"},
    {4, "RadioButton1", Caption, "none"},
    {4, "RadioButton2", Caption, "Shadow"},
    {4, "RadioButton3", Caption, "Paint around"},
    {4, "GroupBox4", Caption, "Track line"},
    {4, "RadioButton4", Caption, "Solid"},
    {4, "RadioButton5", Caption, "Dot"},
    {4, "GroupBox2", Caption, "Information color"},
    {4, "Label9", Caption, "Background"},
    {4, "GroupBox5", Caption, "Map color"},
    {4, "Label11", Caption, "Background"},
    {4, "Label10", Caption, "Coastline"},
    {4, "Label16", Caption, "VOR airway"},
    {4, "Label17", Caption, "NDB airway"},
    {4, "Label18", Caption, "NAV airway"},
    {4, "Label19", Caption, "Airport"},
    {4, "Label32", Caption, "Borderline"},
    {4, "Label30", Caption, "Grid line"},
    {4, "Label31", Caption, "Grid value"},
    {4, "GroupBox14", Caption, "Symbol style"},
    {4, "RadioButton16", Caption, "Aircraft"},
    {4, "RadioButton17", Caption, "Radar"},
    {4, "GroupBox15", Caption, "Symbol size"},
    {4, "RadioButton13", Caption, "Large"},
    {4, "RadioButton14", Caption, "Middle"},
    {4, "RadioButton15", Caption, "Small"},
    {4, "GroupBox12", Caption, "Track points"},
    {4, "RadioButton11", Caption, "Enable"},
    {4, "RadioButton12", Caption, "Disable"},
    {4, "GroupBox9", Caption, "Grid line"},
    {4, "RadioButton6", Caption, "Disable"},
    {4, "RadioButton7", Caption, "Solid"},
    {4, "RadioButton8", Caption, "Dot"},
    {4, "GroupBox10", Caption, "Grid value"},
    {4, "RadioButton9", Caption, "Enable"},
    {4, "RadioButton10", Caption, "Disable"},
    {4, "Button1", Caption, "Operator Color"},
    {4, "Label6", Caption, "None"},
    {4, "Label20", Caption, "House"},
    {4, "Label21", Caption, "Beacon"},
    {4, "Label22", Caption, "Antenna"},
    {4, "Label23", Caption, "Mountain"},
    {4, "GroupBox6", Caption, "Map select data color"},
    {4, "Label24", Caption, "Background"},
    {4, "Label25", Caption, "Text"},
    {4, "GroupBox7", Caption, "Elevation window"},
    {4, "Label26", Caption, "Background"},
    {4, "Label27", Caption, "Scale"},
    {4, "GroupBox8", Caption, "Clock"},
    {4, "Label28", Caption, "Background"},
    {4, "Label29", Caption, "Lighting"},
    {4, "Label34", Caption, "No lighting"},
    {4, "GroupBox11", Caption, "Bitween of Grids"},
    {4, "Label33", Caption, "degree"},
    {4, "GroupBox13", Caption, "Feedout of plots"},
    {4, "CheckBox1", Caption, "Enable"},
    {4, "Label36", Caption, "Step"},
    {4, "Label38", Caption, "min"},
    // The operator colour dialog: ten rows of four labels.
    {19, "", Caption, "Operator color"},
    {19, "Label1", Caption, "Header"},
    {19, "Label2", Caption, "Plot"},
    {19, "Label3", Caption, "Highlight"},
    {19, "Label4", Caption, "Shadow"},
    {19, "Label8", Caption, "Header"},
    {19, "Label9", Caption, "Plot"},
    {19, "Label10", Caption, "Highlight"},
    {19, "Label11", Caption, "Shadow"},
    {19, "Label15", Caption, "Header"},
    {19, "Label16", Caption, "Plot"},
    {19, "Label17", Caption, "Highlight"},
    {19, "Label18", Caption, "Shadow"},
    {19, "Label22", Caption, "Header"},
    {19, "Label23", Caption, "Plot"},
    {19, "Label24", Caption, "Highlight"},
    {19, "Label25", Caption, "Shadow"},
    {19, "Label29", Caption, "Header"},
    {19, "Label30", Caption, "Plot"},
    {19, "Label31", Caption, "Highlight"},
    {19, "Label32", Caption, "Shadow"},
    {19, "Label36", Caption, "Header"},
    {19, "Label37", Caption, "Plot"},
    {19, "Label38", Caption, "Highlight"},
    {19, "Label39", Caption, "Shadow"},
    {19, "Label43", Caption, "Header"},
    {19, "Label44", Caption, "Plot"},
    {19, "Label45", Caption, "Highlight"},
    {19, "Label46", Caption, "Shadow"},
    {19, "Label50", Caption, "Header"},
    {19, "Label51", Caption, "Plot"},
    {19, "Label52", Caption, "Highlight"},
    {19, "Label53", Caption, "Shadow"},
    {19, "Label57", Caption, "Header"},
    {19, "Label58", Caption, "Plot"},
    {19, "Label59", Caption, "Highlight"},
    {19, "Label60", Caption, "Shadow"},
    {19, "Label64", Caption, "Header"},
    {19, "Label65", Caption, "Plot"},
    {19, "Label66", Caption, "Highlight"},
    {19, "Label67", Caption, "Shadow"},
    // The received-aircraft list.
    {5, "", Caption, "Aircraft list"},
    {5, "SpeedButton3", Hint, "Auto delete"},
    {5, "Panel1", Hint, "Delete time"},
    {5, "UpDown1", Hint, "Adjust delete time"},
    {5, "SpeedButton4", Hint, "Log"},
    {5, "SpeedButton1", Hint, "Font setting"},
    {5, "SpeedButton2", Hint, "Color setting"},
    // The aircraft information window.
    {17, "SpeedButton2", Hint, "Show automatically when latest info received"},
    {17, "SpeedButton5", Hint, "Show always on top"},
    {17, "Button1", Caption, "Search Flight"},
    {17, "GroupBox2", Caption, "Aircraft information"},
    {17, "Label2", Caption, "Flight"},
    {17, "Label4", Caption, "Reg.No."},
    {17, "Label8", Caption, "Dept."},
    {17, "Label9", Caption, "Dest."},
    {17, "Label12", Caption, "Aircraft"},
    {17, "Label1", Caption, "Remarks"},
    {17, "Label6", Caption, "Position"},
    {17, "Label7", Caption, "None"},
    {17, "", Caption, "Aircraft information"},
    // The search-list entry editor.
    {6, "", Caption, "Edit aircraft search list"},
    {6, "Label1", Caption, "Search"},
    {6, "Label2", Caption, "Remarks"},
    {6, "Button2", Caption, "Cancel"},
    // The mail settings dialog.
    {7, "", Caption, "E-mail setting"},
    {7, "GroupBox1", Caption, "Transmission origin setting"},
    {7, "Label1", Caption, "SMTP server"},
    {7, "Label3", Caption, "E-mail address"},
    {7, "Label4", Caption, "E-mail address"},
    {7, "GroupBox2", Caption, "Destination setting"},
    {7, "Button2", Caption, "Cancel"},
    // The input-device and decoder-mode dialog.
    {8, "", Caption, "Recoding Setting"},
    {8, "ListView1", Column, "Input device"},
    {8, "Button1", Caption, "Select"},
    {8, "Button2", Caption, "Cancel"},
    {8, "Button3", Caption, "System Settings"},
    {8, "GroupBox1", Caption, "Decoder"},
    {8, "RadioButton1", Caption, "Single"},
    {8, "RadioButton2", Caption, "Dual"},
    // The device change notice.
    {9, "", Caption, "Recoding device change"},
    {9, "Label1", Caption, "Now Changing device..."},
    // The received-text window.
    {10, "", Caption, "Text window"},
    {10, "SpeedButton1", Hint, "shows all unprocessed raw text messages"},
    {10, "SpeedButton2", Hint, "shows processed data by filtering doubled messages"},
    {10, "SpeedButton3", Hint, "shows text messages only after filtering"},
    {10, "SpeedButton4", Hint, "Log"},
    {10, "SpeedButton6", Hint, "Saves all the messages regardless"},
    {10, "SpeedButton7", Hint, "Saves log by flight number"},
    {10, "SpeedButton8", Hint, "Saves log by registration"},
    {10, "SpeedButton5", Hint, "Show always on top"},
    {10, "SpeedButton9", Hint, "Font setting"},
    {10, "SpeedButton10", Hint, "color setting"},
    {10, "SpeedButton11", Hint, "shows received HFDL HEX data"},
    {10, "SpeedButton12", Hint, "shows HFDL analysis text data"},
    {10, "SpeedButton13", Hint, "shows formated HFDL text data"},
    {10, "SpeedButton14", Hint, "log type to save setting"},
    // The About box.
    {11, "", Caption, "Version information"},
    {11, "Label4", Caption, "Skarvel official site"},
    {11, "Label3", Caption, kEnglishSiteUrl},
    {11, "Button1", Caption, "Close"},
    // The chat window.
    {12, "", Caption, "Chat window"},
    {12, "Label1", Caption, "Name"},
    {12, "Label2", Caption, "Text"},
    {12, "Button1", Caption, "Submit"},
    // The packet status window.
    {13, "", Caption, "Packet info"},
    {13, "GroupBox1", Caption, "Packet Status"},
    {13, "Label1", Caption, "TX Packet"},
    {13, "Label10", Caption, "RX Packet"},
    // The connection dialog.
    {14, "", Caption, "IP connection"},
    {14, "Label1", Caption, "Connect to"},
    {14, "Label2", Caption, "Port No"},
    {14, "CheckBox1", Caption, "Reconnect automatically when disconnected"},
    {14, "Button2", Caption, "Cancel"},
    // The reconnect countdown.
    {15, "", Caption, "Reconnect"},
    {15, "Button1", Caption, "Cancel"},
    {15, "Label2", Caption, "Reconnect after 60 sec"},
    // The import progress box.
    {16, "", Caption, "Importing RAW data..."},
    {16, "Label1", Caption, "Importing..."},
    {16, "Button1", Caption, "Cancel"},
    // The ACARS message search window.
    {28, "", Caption, "Search ACARS messages"},
    {28, "Label1", Caption, "Search keyword"},
    {28, "GroupBox1", Caption, "Add or delete keywords"},
    {28, "Button1", Caption, "Add"},
    {28, "Button2", Caption, "Del"},
    {28, "Label2", Caption, "Logs of search messages"},
    {28, "Button4", Caption, "Del all"},
    {28, "Button3", Caption, "Del"},
    {28, "Label3", Caption, "ACARS Message"},
    // The HFDL windows.
    {20, "", Caption, "List of active HFDL frequency"},
    {21, "", Caption, "Status of HFDL aircraft registry number"},
    {22, "", Caption, "Status of receiving data"},
    {23, "", Caption, "HFDL system table data"},
    // The automatic frequency control dialog.
    {24, "", Caption, "HFDL automatic remote frequency control"},
    {24, "Label9", Caption, "Base station name"},
    {24, "Label4", Caption, "Remote control"},
    {24, "Label1", Caption, "Target frequency"},
    {24, "Label2", Caption, "RS232C COM Number"},
    {24, "Label10", Caption, "Radio Type"},
    {24, "Label3", Caption, "Radio Address(HEX)"},
    {24, "Button3", Caption, "Select frequency from list"},
    {24, "Button4", Caption, "Manual input frequency"},
    {24, "Label11", Caption, "Base station name"},
    {24, "Label5", Caption, "Remote control"},
    {24, "Label6", Caption, "Target frequency"},
    {24, "Label7", Caption, "RS232C COM Number"},
    {24, "Label12", Caption, "Radio Type"},
    {24, "Label8", Caption, "Radio Address(HEX)"},
    {24, "Button2", Caption, "Select frequency from list"},
    {24, "Button5", Caption, "Manual input frequency"},
    {24, "Button1", Caption, "Set frequency immediacy"},
    // The text and background colour dialog.
    {18, "", Caption, "Color setting"},
    {18, "Label1", Caption, "Text"},
    {18, "Label2", Caption, "Background"},
    {18, "Button4", Caption, "Cancel"},
    // The manual frequency keypad.
    {29, "", Caption, "Manual input frequency"},
    // The log items dialog.
    {30, "", Caption, "Select log type to save"},
    {30, "GroupBox1", Caption, "Log type"},
    // The SELCAL panel.
    {26, "", Caption, "Selcal control window"},
};

void Assign(QObject* target, const EnglishText& entry) {
  const QString text = QString::fromUtf8(entry.text);
  switch (entry.property) {
    case TextProperty::Hint:
      if (auto* action = qobject_cast<QAction*>(target)) {
        action->setToolTip(text);
      } else if (auto* widget = qobject_cast<QWidget*>(target)) {
        widget->setToolTip(text);
      }
      return;
    case TextProperty::Column:
      if (auto* tree = qobject_cast<QTreeWidget*>(target)) {
        tree->headerItem()->setText(0, text);
      } else if (auto* table = qobject_cast<QTableWidget*>(target)) {
        if (QTableWidgetItem* header = table->horizontalHeaderItem(0)) header->setText(text);
      }
      return;
    case TextProperty::DialogTitle:
      if (auto* dialog = qobject_cast<QFileDialog*>(target)) dialog->setWindowTitle(text);
      return;
    case TextProperty::DialogFilter:
      if (auto* dialog = qobject_cast<QFileDialog*>(target)) dialog->setNameFilter(text);
      return;
    case TextProperty::Caption:
      if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(text);
      } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->setText(text);
      } else if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setText(text);
      } else if (auto* group = qobject_cast<QGroupBox*>(target)) {
        group->setTitle(text);
      } else if (auto* widget = qobject_cast<QWidget*>(target); widget && widget->isWindow()) {
        widget->setWindowTitle(text);
      }
      return;
  }
}

}  // namespace

const EnglishText* EnglishTextTable(size_t& count) {
  count = std::size(kTexts);
  return kTexts;
}

QObject* FindEnglishTextTarget(TForm1& mainWindow, const EnglishText& entry) {
  QObject* window = entry.form == 1 ? static_cast<QObject*>(&mainWindow) : mainWindow.Form(entry.form);
  if (!window || !*entry.name) return window;
  return window->findChild<QObject*>(QString::fromLatin1(entry.name));
}

void SetEnglishTexts(TForm1& mainWindow) {
  for (const EnglishText& entry : kTexts) {
    if (QObject* target = FindEnglishTextTarget(mainWindow, entry)) Assign(target, entry);
  }
}

#pragma once
// The commands of the main window's menu and tool bar, on the state alone.
// TForm1's handlers call them once the mirror fields follow the click: a
// tool-bar toggle's down state has already changed, a menu item's check
// mark has not (the command sets it). Each command brings the widgets in
// line through svc.effects->ControlsChanged().
#include <string>

struct AircraftRecord;
struct Form1State;

namespace form1 {

// The map moves by 50 pixels' worth of degrees.
enum class PanDirection { West, East, North, South };
void PanMap(Form1State& form, PanDirection direction);  // SpeedButton12, 15, 13, 14

// SpeedButton9, 10 and 11: at most one of them down, all may be up.
void SubDisplayButtonClick(Form1State& form, int button);
void SpeedButton16Click(Form1State& form);
void SpeedButton8Click(Form1State& form);
void ComboBox2Change(Form1State& form);
void SpeedButton1Click(Form1State& form);
void Image6Click(Form1State& form);

void N3Click(Form1State& form);
void N5Click(Form1State& form);
void N6Click(Form1State& form);
void N10Click(Form1State& form);
// The name N10 asks about: the flight-number form that the map labels show
// (by N21 and N28) while N24 is marked, else the flight id.
std::string N10AircraftName(const Form1State& form, const AircraftRecord& record);

void N8Click(Form1State& form);
void N21Click(Form1State& form);
void N28Click(Form1State& form);
void N24Click(Form1State& form);
void N25Click(Form1State& form);
void N11Click(Form1State& form);
void N26Click(Form1State& form);
void N27Click(Form1State& form);
void N13Click(Form1State& form);

void flightcsv1Click(Form1State& form);
void airlinecsv1Click(Form1State& form);
void N17Click(Form1State& form);

void PopupMenu1Popup(Form1State& form);

// The commands that only show a dialog: the component and its form.
struct ShowCommand {
  const char* component;
  int formNumber;
  bool modal;
};
extern const ShowCommand kShowCommands[17];

}  // namespace form1

#pragma once
// The commands of the main window's menu and tool bar, on the state and the
// window's effects. TForm1's handlers call them once the mirror fields
// follow the click: a tool-bar toggle's down state has already changed, a
// menu item's check mark has not (the command sets it). A command asks for
// the map layers it changes; the window draws them once it returns.
#include <string>

class FormEffects;
class PeerLink;
struct AircraftRecord;
struct Form1State;

namespace form1 {

// The map moves by 50 pixels' worth of degrees.
enum class PanDirection { West, East, North, South };
void PanMap(Form1State& form, PanDirection direction);  // SpeedButton12, 15, 13, 14

// SpeedButton9, 10 and 11: at most one of them down, all may be up.
void SubDisplayButtonClick(Form1State& form, FormEffects& effects, int button);
void SpeedButton16Click(Form1State& form);
void SpeedButton8Click(Form1State& form);
void ComboBox2Change(Form1State& form);
void SpeedButton1Click(Form1State& form, FormEffects& effects, PeerLink& link);
void Image6Click(Form1State& form);
// A release on the spectrum picture: any button but the left one switches
// between waterfall and constellation; the left one, with two channels,
// steps the channels shown (left, right, both).
void Image5MouseUp(Form1State& form, bool leftButton);

void N3Click(Form1State& form, FormEffects& effects);
void N5Click(FormEffects& effects);
void N6Click(Form1State& form, FormEffects& effects);
void N10Click(Form1State& form, FormEffects& effects);
// The name N10 asks about: the flight-number form that the map labels show
// (by N21 and N28) while N24 is marked, else the flight id.
std::string N10AircraftName(const Form1State& form, const AircraftRecord& record);

void N8Click(Form1State& form, FormEffects& effects);
void N21Click(Form1State& form, FormEffects& effects);
void N28Click(Form1State& form, FormEffects& effects);
void N24Click(Form1State& form, FormEffects& effects);
void N25Click(Form1State& form, FormEffects& effects);
void N11Click(Form1State& form, FormEffects& effects);
void N26Click(Form1State& form, FormEffects& effects);
void N27Click(Form1State& form, FormEffects& effects);
void N13Click(Form1State& form, FormEffects& effects);

void flightcsv1Click(Form1State& form);
void airlinecsv1Click(Form1State& form);
void N17Click(Form1State& form);
// Empty logs/ and logs/EachLogs after a Yes/No question.
void N20Click(Form1State& form);
void EachLogs1Click(Form1State& form);

void PopupMenu1Popup(Form1State& form, FormEffects& effects);

// The commands that only show a dialog: the component and its form.
struct ShowCommand {
  const char* component;
  int formNumber;
  bool modal;
};
extern const ShowCommand kShowCommands[17];

}  // namespace form1

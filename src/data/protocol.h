#pragma once

#include <cstddef>

// The panel's names for the controller protocol: command codes, the groups and actions they
// address, what a command's result means, and where the fields of the blocks the controller
// keeps (the controller state, the system block, the run settings) lie. Call sites use these
// names, knitsim's too, so the two cannot drift apart; the tests write the bytes out themselves,
// an independent reading.
namespace Protocol {

// Byte 0 of a command datagram.
enum Command : unsigned char {
    UpdateCommand = 0x20, // a group's update opened (1) or closed (0); also a test mode's entry and leave
    SetCommand = 0x22,    // one value of an open group: index, value
    QueryCommand = 0x26,  // the running status (object RunningStatus); test commands and reports
    ActionCommand = 0x2A, // a machine action (object MachineObject): action, value
    HomeCommand = 0x2E,   // the carriage to its zero position
    RowCommand = 0x72,    // the row form: one byte of the current program's row
};

// The bytes around a command datagram's object and values: 1-3 name the datagram's form,
// byte 4 is the escape every datagram carries, 10-11 end it.
enum DatagramByte : int { EscapeByte = 4, ObjectByte = 5, FirstValueByte = 6, SecondValueByte = 8, EndByte = 10 };
constexpr unsigned char ParameterForm[3] = {0x41, 0x00, 0x00}; // "A": object, value 1, value 2
constexpr unsigned char RowForm[3] = {0x04, 0x01, 0x00};       // RowCommand: two words and a byte
constexpr unsigned char TestForm[3] = {0x02, 0x04, 0x00};      // a test mode's command
constexpr unsigned char Escape = 0x1B;
constexpr unsigned char EndMark = 0x55; // "U"
constexpr unsigned char CommandEnd = 0x00;
constexpr unsigned char TestEnd = 0xAA;
// Every datagram of the commands, the status channel and the test modes is this long.
constexpr int DatagramSize = 12;

// The UDP ports, each moved by KNIT_PORT_OFFSET: the controller takes commands on
// ControllerPort; the panel sends them from PanelCommandPort, where a test mode's reports come
// back, and takes status reports on StatusPort and needle reports on NeedlePort.
enum Port : unsigned short { StatusPort = 2001, NeedlePort = 2700, ControllerPort = 2800, PanelCommandPort = 2900 };

// The status report: byte 0 tells a test report (QueryCommand) from a machine report, whose
// code is at ObjectByte; its values are the words at FirstValueByte and SecondValueByte.
enum ReportCode : unsigned char {
    ZeroingStarted = 16,
    MachineStarted = 17,
    MachineStartedSecond = 18,
    MachineStopped = 19,
    RowReport = 20,
    AlarmReport = 21,
    ZeroingFinished = 23,
    KnittingTime = 32,
    StopTime = 33,
    LoopRows = 72,
    LoopCounts = 73,
};
// A test report counts only with this at ObjectByte; an alarm report only with it at FirstValueByte.
constexpr unsigned char ReportValid = 1;
// ObjectByte of a test mode's commands and reports.
enum TestKind : unsigned char { IoTest = 0x02, CarriageTest = 0x03 };
// Byte 7 of a status test report: the block its item belongs to.
enum TestBlock : unsigned char { IoTestBlock = 0, MotoTestBlock = 3 };

// Value 1 of UpdateCommand.
enum Bracket : unsigned short { Close = 0, Open = 1 };

// Byte 5 of a command: the group a command addresses.
enum Group : unsigned char {
    SystemParamGroup = 0, // the system parameters page
    SystemGroup = 1,     // the system block; also the object of every ActionCommand
    DensityGroup = 7,
    RackingGroup = 8,
    AccelerationGroup = 10,
    CarrierSpeedGroup = 16,
    JobGroup = 12,       // the job's three files travel while it is open
    ProgramGroup = 13,   // live changes of the current job's program
    PatternGroup = 14,   // and of its pattern
    PersonalisationGroup = 32,
    RunningStatus = 0x21, // QueryCommand's object; the alarm acknowledgement rides on it
    MasterUpdate = 48,   // the main controller's update mode
    SlaveUpdate = 49,    // the slave's
    IoTestMode = 128,
    CarriageTestMode = 129,
};
constexpr unsigned char MachineObject = SystemGroup;

// Value 1 of ActionCommand.
enum Action : unsigned short {
    SpeedSwitch = 1,
    RowLock = 2,
    PieceSwitch = 3,
    CarrierSwitch = 4,
    ErrorDisable = 5,
    SetPieces = 6,
    ClearPieces = 7,
    SkipToRow = 8,
    StopAtRow = 9,
    RollersBackward = 16,
    RollersForward = 17,
    ShutDown = 32,
};

// What every command wrapper returns: the controller answered in time, or not.
enum Result : unsigned char { NotAnswered = 0, Answered = 1 };
// Where a reply carries its result (little-endian).
enum ReplyByte : int { ResultLowByte = 8, ResultHighByte = 9 };

// The file checks' result codes, one numbering for the .cnt check (0-5) and the .pat check
// (0-9): knitjob prints them and the operator's messages are chosen by them.
enum FileCheck : int {
    CheckOk = 0,
    CheckOpenFailed = 1,
    CheckNoChecksum = 2,
    CheckBadChecksum = 3,
    CheckTooLarge = 4,
    CheckBadSize = 5,
    CheckTooWide = 6,
    CheckZeroWidth = 7,
    CheckTooLow = 8,
    CheckTooShort = 9,
};

// The controller state, the controller's running state (file.knt).
enum CurByte : std::size_t {
    RunningByte = 0,     // 0 while zeroing, 1 once the carriage is at zero; the option bytes follow
    SpeedByte = 1,
    LockByte = 2,
    PieceByte = 3,
    CarrierByte = 4,
    ErrorByte = 5,
    HeldGroupByte = 26,  // the group whose update the controller still holds open
    JobSentByte = 29,    // non-zero: the controller has its job's files
    MasterVersionByte = 30, // 30-32 numbers, 33-35 edition letters
    MasterEditionByte = 33,
    MasterEditionEnd = 35,
    SlaveMinorByte = 38,
    SlaveMajorByte = 39,
    JobNameByte = 40,    // the job's name, NUL-ended, at most JobNameMax bytes
};
constexpr std::size_t JobNameMax = 251;
enum CurWord : std::size_t {
    RowWord = 3,         // the current row; bit 15 while a row is being cancelled
    RowsWord = 4,        // the program's rows
    PulsesWord = 5,
    NeedleWord = 6,
    PiecesDoneWord = 7,
    PiecesWord = 8,      // the pieces to knit
    KnitSecondsWord = 9,  // knitting time in seconds: the running count, then the one shown first
    KnitFirstWord = 10,
    StopSecondsWord = 11, // stopped time, the same way
    StopFirstWord = 12,
};
constexpr unsigned short RowMask = 0x7FFF;
constexpr unsigned short RowCancelling = 0x8000;
// The needle word counts from this position.
constexpr int NeedleZero = 500;

// The system block, the system parameters (group SystemGroup): index of a word, as SetCommand takes it.
enum SystemWord : std::size_t {
    StartNeedleWord = 0,
    SpeedGroupWord = 4,  // the speed group of row 0
    SpeedUnitWord = 5,   // a speed value times this, over 100000, is the speed shown
    PieceCountWord = 22,
    PieceSpacingWord = 23,
    PieceMaskWord = 24,
    CarrierReplacementWord = 25,
    SystemModeWord = 54, // how a row's systems are read
    BedWidthWord = 58,
    TransferGroupWord = 59,
};

// The work block, the job's work parameters.
enum WorkWord : std::size_t {
    JobStartNeedleWord = 776, // the start needle the job was made for
};

// The panel settings, the panel's own (para/management.bin).
enum ManagementWord : std::size_t {
    DesktopWord = 0,      // the number of the desktop picture
    SortByTimeWord = 1,   // 1: the job lists are sorted by time
    ScreenSaverWord = 2,  // minutes before the screen saver; 0: off
};

// The input/output test block, the test's readings.
enum TestIoByte : std::size_t {
    TestIoReportByte = 40,  // a status test report's item n lands at this plus n
    TestSpeedByte = 66,
    TestPulsesHighByte = 67, // the needle-signal count, high byte first
    TestPulsesLowByte = 68,
};
// The carriage test block: a status test report's item n lands at TestMotoLowReportByte plus n
// for items 0-5, at TestMotoHighReportByte plus n from item 16 on.
enum TestMotoByte : std::size_t { TestMotoHighReportByte = 36, TestMotoLowReportByte = 84 };

// The run settings, what the panel works out for the controller.
enum RunWord : std::size_t {
    PieceWidthWord = 0, // the pattern's width
    StopRowWord = 1,    // the row the machine stops at
};

} // namespace Protocol

#pragma once
// Resource, command and control ids of calvorn, shared by the code and by
// resources/calvorn/*.rc (the build puts the values in for the names there).
// Ids of the framework (ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_INDICATOR_CAPS,
// AFX_IDS_APP_TITLE ...) are platform's. One constant a line, as
// "inline constexpr UINT NAME = number;": the resource build reads them so.

#include "platform/base/types.h"

// The frame: document string, menu, accelerators and toolbar; icon 128.
inline constexpr UINT IDR_MAINFRAME = 130;
inline constexpr UINT IDI_CALVORN = 128;

// Commands of the framework's ranges.
inline constexpr UINT ID_FILE_NEW = 57600;
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_FILE_SAVE = 57603;
inline constexpr UINT ID_FILE_SAVE_AS = 57604;
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_EDIT_COPY = 57634;
inline constexpr UINT ID_EDIT_CUT = 57635;
inline constexpr UINT ID_EDIT_PASTE = 57637;
inline constexpr UINT ID_EDIT_UNDO = 57643;
inline constexpr UINT ID_APP_ABOUT = 57664;
inline constexpr UINT ID_NEXT_PANE = 57680;
inline constexpr UINT ID_PREV_PANE = 57681;
// Prompts of the system menu's commands.
inline constexpr UINT IDS_SC_SIZE = 61184;
inline constexpr UINT IDS_SC_CLOSE = 61202;
inline constexpr UINT IDS_SC_RESTORE = 61445;

// Menu and toolbar commands.
inline constexpr UINT ID_USER_INFO_CHANGE = 32771;
inline constexpr UINT ID_NEW_MANAGER = 32772;
inline constexpr UINT ID_COMM_SETUP = 32773;
inline constexpr UINT ID_FILE_SAVE_AS_DB = 32774;
inline constexpr UINT ID_SERVER_START = 32775;
inline constexpr UINT ID_SERVER_STOP = 32776;
inline constexpr UINT ID_SERVER_PORT = 32779;
inline constexpr UINT ID_RESULT_VIEW = 32780;
inline constexpr UINT ID_MANAGER_RESULT_VIEW = 32781;
inline constexpr UINT ID_DEFAULT_VALUE_SETUP = 32785;
inline constexpr UINT ID_ITEM_INFO_CHANGE = 32787;
inline constexpr UINT ID_ACCESS_TO_EXCEL = 32788;
inline constexpr UINT ID_EXCEL_NEW_FILE = 32789;
inline constexpr UINT ID_EXCEL_TO_ACCESS = 32790;
inline constexpr UINT ID_AUTO_VALUE = 32792; // the column fill

// Children of the left pane.
inline constexpr UINT IDC_CAPTION_PANEL = 200;
inline constexpr UINT IDC_LOGIN_BUTTON = 201;
inline constexpr UINT IDC_CATEGORY_TREE = 204;

// About box.
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDC_ABOUT_VERSION = 1033;

// Manager log-in.
inline constexpr UINT IDD_MANAGER_LOGIN = 131;
inline constexpr UINT IDC_LOGIN_ID_LABEL = 1033;
inline constexpr UINT IDC_LOGIN_ID = 1000;
inline constexpr UINT IDC_LOGIN_PASSWORD_LABEL = 1034;
inline constexpr UINT IDC_LOGIN_PASSWORD = 1001;

// User info (a manager's password, a new manager).
inline constexpr UINT IDD_USER_INFO = 136;
inline constexpr UINT IDC_USER_INFO_ID = 1002;
inline constexpr UINT IDC_USER_INFO_PASSWORD = 1003;
inline constexpr UINT IDC_USER_INFO_RE_PASSWORD = 1006;
inline constexpr UINT IDC_USER_INFO_CORNER = 1007;

// Hidden mailbox of the database requests.
inline constexpr UINT IDD_MAILBOX = 132;
inline constexpr UINT IDC_MAILBOX_TEXT = 1002; // SQL, argument, or reply row
inline constexpr UINT IDC_MAILBOX_NAME = 1003; // request name; "Report" from the owner
inline constexpr UINT IDC_MAILBOX_MARKER = 1006; // insert-read marker (item worker)

// Hidden mailbox of the serial requests.
inline constexpr UINT IDD_KIND_MAILBOX = 145;
inline constexpr UINT IDC_SERIAL_COMMAND = 1020; // mode: Word(TransferCommand)
inline constexpr UINT IDC_SERIAL_KIND = 1021; // Word(DataKind)
inline constexpr UINT IDC_SERIAL_SCOPE = 1001; // Word(TransferScope)
inline constexpr UINT IDC_SERIAL_STEP = 1022; // step word ("OPEN" ...); result word after a refusal
inline constexpr UINT IDC_SERIAL_STATUS = 1023; // frame length before a command, status word after a report
inline constexpr UINT IDC_SERIAL_REPLY = 1024; // reply kind: "Report" after every report
inline constexpr UINT IDC_SERIAL_NO_ITEM = 1025; // "NOITEM" mark

// Default values of new item rows: a check box and an edit a column.
inline constexpr UINT IDD_DEFAULT_VALUE = 214;
inline constexpr UINT IDC_DEFAULT_MASTER = 1113;
inline constexpr UINT IDC_DEFAULT_ITEM_NO_CHECK = 1114;
inline constexpr UINT IDC_DEFAULT_ITEM_NO = 1115;
inline constexpr UINT IDC_DEFAULT_NAME_CHECK = 1116;
inline constexpr UINT IDC_DEFAULT_NAME = 1117;
inline constexpr UINT IDC_DEFAULT_NAME2_CHECK = 1119;
inline constexpr UINT IDC_DEFAULT_NAME2 = 1118;
inline constexpr UINT IDC_DEFAULT_UNIT_PRICE_CHECK = 1121;
inline constexpr UINT IDC_DEFAULT_UNIT_PRICE = 1120;
inline constexpr UINT IDC_DEFAULT_FIX_PRICE_CHECK = 1123;
inline constexpr UINT IDC_DEFAULT_FIX_PRICE = 1122;
inline constexpr UINT IDC_DEFAULT_LAND_CHECK = 1125;
inline constexpr UINT IDC_DEFAULT_LAND = 1124;
inline constexpr UINT IDC_DEFAULT_POS_FLAG_CHECK = 1127;
inline constexpr UINT IDC_DEFAULT_POS_FLAG = 1126;
inline constexpr UINT IDC_DEFAULT_POS_CODE_CHECK = 1129;
inline constexpr UINT IDC_DEFAULT_POS_CODE = 1128;
inline constexpr UINT IDC_DEFAULT_PIECE_CHECK = 1131;
inline constexpr UINT IDC_DEFAULT_PIECE = 1130;
inline constexpr UINT IDC_DEFAULT_WEIGHT_CHECK = 1133;
inline constexpr UINT IDC_DEFAULT_WEIGHT = 1132;
inline constexpr UINT IDC_DEFAULT_FMARK_CHECK = 1135;
inline constexpr UINT IDC_DEFAULT_FMARK = 1134;
inline constexpr UINT IDC_DEFAULT_POS_KIND_CHECK = 1137;
inline constexpr UINT IDC_DEFAULT_POS_KIND = 1136;
inline constexpr UINT IDC_DEFAULT_DATE_PRINT_CHECK = 1139;
inline constexpr UINT IDC_DEFAULT_DATE_PRINT = 1138;
inline constexpr UINT IDC_DEFAULT_LIMIT_DAY_CHECK = 1141;
inline constexpr UINT IDC_DEFAULT_LIMIT_DAY = 1140;
inline constexpr UINT IDC_DEFAULT_INGREDIENT_CHECK = 1143;
inline constexpr UINT IDC_DEFAULT_INGREDIENT = 1142;

// Scale model choice.
inline constexpr UINT IDD_SELECT_MODEL = 227;
inline constexpr UINT IDC_MODEL_PQ = 1147;
inline constexpr UINT IDC_MODEL_Q = 1148;

// A scale's basic settings.
inline constexpr UINT IDD_SCALE_BASIC_INFO = 209;
inline constexpr UINT IDC_BASIC_WEIGHT_DIGITS = 1097;
inline constexpr UINT IDC_BASIC_PRICE_DIGITS = 1098;
inline constexpr UINT IDC_BASIC_WEIGHT_UNIT = 1099;
inline constexpr UINT IDC_BASIC_PRESET_PAGE = 1015;
inline constexpr UINT IDC_BASIC_LIMIT_DAY = 1016;
inline constexpr UINT IDC_BASIC_LABEL = 1103;
inline constexpr UINT IDC_BASIC_USER_LABEL = 1018;
inline constexpr UINT IDC_BASIC_POS_FLAG = 1019;
inline constexpr UINT IDC_BASIC_BARCODE_FORMAT = 1104;
inline constexpr UINT IDC_BASIC_BARCODE_PRICE = 1021;
inline constexpr UINT IDC_BASIC_NAME_SORT = 1106;
inline constexpr UINT IDC_BASIC_LAND_SORT = 1107;
inline constexpr UINT IDC_BASIC_CODE_LAND = 1105;
inline constexpr UINT IDC_BASIC_ADV_NUMBER = 1024;
inline constexpr UINT IDC_BASIC_LIMIT_PRINT_INFO = 1108;
inline constexpr UINT IDC_BASIC_LIMIT_PRINT_TYPE = 1109;
inline constexpr UINT IDC_BASIC_PRICE_UNIT_LABEL = 1200;
inline constexpr UINT IDC_BASIC_PRICE_UNIT = 1027;
inline constexpr UINT IDC_BASIC_PASSWORD_LABEL = 1201;
inline constexpr UINT IDC_BASIC_PASSWORD = 1028;
inline constexpr UINT IDC_BASIC_VAT_LABEL = 1202;
inline constexpr UINT IDC_BASIC_VAT = 1029;
inline constexpr UINT IDC_BASIC_DEL_WON_LABEL = 1203;
inline constexpr UINT IDC_BASIC_DEL_WON = 1030;
inline constexpr UINT IDC_BASIC_HAN_FONT_LABEL = 1204;
inline constexpr UINT IDC_BASIC_HAN_FONT = 1031;

// A scale's network settings.
inline constexpr UINT IDD_SCALE_NET_INFO = 211;
inline constexpr UINT IDC_NET_ETHERNET_INIT = 1108;
inline constexpr UINT IDC_NET_ETHERNET_MODE = 1109;
inline constexpr UINT IDC_NET_SCALE_ID = 1097;
inline constexpr UINT IDC_NET_SCALE_IP = 1012;
inline constexpr UINT IDC_NET_MASK = 1013;
inline constexpr UINT IDC_NET_DESTINATION_IP = 1014;
inline constexpr UINT IDC_NET_DESTINATION_PORT = 1098;

// Results server port.
inline constexpr UINT IDD_SERVER_PORT = 198;
inline constexpr UINT IDC_SERVER_PORT_NUMBER = 1066;

// Item numbers to receive.
inline constexpr UINT IDD_ITEM_NUMBER = 201;
inline constexpr UINT IDC_ITEM_NUMBER_LABEL = 1033;
inline constexpr UINT IDC_ITEM_NUMBER = 1085;

// Selection lists: one scale (200), managers (213).
inline constexpr UINT IDD_SCALE_SELECT = 200;
inline constexpr UINT IDD_MANAGER_SELECT = 213;
inline constexpr UINT IDC_SELECT_CANDIDATES = 1083;
inline constexpr UINT IDC_SELECT_CHOSEN = 1084;
inline constexpr UINT IDC_SELECT_ADD = 1001;
inline constexpr UINT IDC_SELECT_REMOVE = 1002;

// The work screen's form.
inline constexpr UINT IDD_KIND_OF_VIEW = 130;
inline constexpr UINT IDC_WORK_CAPTION = 200;
inline constexpr UINT IDC_WORK_GRID = 1005;
// Edit panel.
inline constexpr UINT IDC_WORK_EDIT_GROUP = 1033;
inline constexpr UINT IDC_WORK_INSERT = 1007;
inline constexpr UINT IDC_WORK_DELETE = 1008;
inline constexpr UINT IDC_WORK_SYNC_TABLES = 1065;
// Transfer panel.
inline constexpr UINT IDC_WORK_TRANS_GROUP = 1034;
inline constexpr UINT IDC_WORK_TRANS_ALL = 1009;
inline constexpr UINT IDC_WORK_TRANS_SELECT = 1010;
inline constexpr UINT IDC_WORK_RECV_ALL = 1001;
inline constexpr UINT IDC_WORK_RECV_SELECT = 1002;
inline constexpr UINT IDC_WORK_RECV_NUMBERS = 1026;
inline constexpr UINT IDC_WORK_RANGE_HINT = 1049;
inline constexpr UINT IDC_WORK_TRANS_STOP = 1030;
// Scale settings transfer panel.
inline constexpr UINT IDC_WORK_SCALE_TRANS_GROUP = 1032;
inline constexpr UINT IDC_WORK_SCALE_TRANS = 1025;
inline constexpr UINT IDC_WORK_SCALE_RECV_ALL = 1027;
inline constexpr UINT IDC_WORK_SCALE_RECV_PAGE = 1028;
inline constexpr UINT IDC_WORK_SCALE_RECV_SELECT = 1029;
inline constexpr UINT IDC_WORK_SYNC_PRESET_LABEL = 1066;
// Progress panel and lamps.
inline constexpr UINT IDC_WORK_PROGRESS_GROUP = 1044;
inline constexpr UINT IDC_WORK_PROGRESS = 1039;
inline constexpr UINT IDC_WORK_PC_LABEL = 1041;
inline constexpr UINT IDC_WORK_SCALE_LABEL = 1042;
inline constexpr UINT IDC_WORK_SEND_LAMP = 1037;
inline constexpr UINT IDC_WORK_RECV_LAMP = 1038;
inline constexpr UINT IDC_WORK_COM_PORT_TOGGLE = 1043;
// Sales results panel.
inline constexpr UINT IDC_WORK_RESULT_RECV = 1050;
inline constexpr UINT IDC_WORK_RESULT_CLEAR = 1051;
inline constexpr UINT IDC_WORK_RESULT_RELOAD = 1052;
inline constexpr UINT IDC_WORK_RESULT_SUM = 1057;
// Managers panel.
inline constexpr UINT IDC_WORK_USER_GROUP = 1058;
inline constexpr UINT IDC_WORK_USER_LABEL = 1054;
inline constexpr UINT IDC_WORK_USER_LIST = 1053;
inline constexpr UINT IDC_WORK_USER_REGISTER = 1055;
inline constexpr UINT IDC_WORK_USER_DELETE = 1056;
// User labels panel.
inline constexpr UINT IDC_WORK_LABEL_INSERT = 1059;
inline constexpr UINT IDC_WORK_LABEL_DELETE = 1060;
inline constexpr UINT IDC_WORK_LABEL_RECV = 1061;
inline constexpr UINT IDC_WORK_LABEL_TRANS_ALL = 1062;
inline constexpr UINT IDC_WORK_LABEL_TRANS_SELECT = 1063;
inline constexpr UINT IDC_WORK_LABEL_IMAGE = 1064;
// Scale register panel.
inline constexpr UINT IDC_WORK_SCALE_INFO_INSERT = 1011;
inline constexpr UINT IDC_WORK_SCALE_INFO_DELETE = 1012;
inline constexpr UINT IDC_WORK_SCALE_INFO_TRANS = 1013;
inline constexpr UINT IDC_WORK_SCALE_INFO_UPDATE = 1014;
// Reservations panel.
inline constexpr UINT IDC_WORK_RESERVATION_LABEL = 1129;
inline constexpr UINT IDC_WORK_RESERVATION_LAMP = 1040;
inline constexpr UINT IDC_WORK_RESV_PC_LABEL = 1047;
inline constexpr UINT IDC_WORK_RESV_SEND_LAMP = 1045;
inline constexpr UINT IDC_WORK_RESV_RECV_LAMP = 1046;
inline constexpr UINT IDC_WORK_RESV_SCALE_LABEL = 1048;
inline constexpr UINT IDC_WORK_RESERVATION_VIEW = 1116;
inline constexpr UINT IDC_WORK_RESERVATION_SETUP = 1117;
// Preset panel: the POS help and the note; Print is ID_FILE_PRINT.
inline constexpr UINT IDC_WORK_POS_HELP_GROUP = 1144;
inline constexpr UINT IDC_WORK_POS_HELP = 1143;
inline constexpr UINT IDC_WORK_PRESET_NOTE = 1145;

// Children the work screen creates itself: the preset keys (600 + key, their
// item ids 700 + key, the page box), the scale register's list and buttons.
inline constexpr UINT IDC_PRESET_FIRST_KEY = 600;
inline constexpr UINT IDC_PRESET_FIRST_KEY_ID = 700;
inline constexpr UINT IDC_PRESET_PAGE = 800;
inline constexpr UINT IDC_SCALE_REGISTER_LIST = 900;
inline constexpr UINT IDC_SCALE_REGISTER_UPDATE = 901;
inline constexpr UINT IDC_SCALE_REGISTER_INSERT = 902;
inline constexpr UINT IDC_SCALE_REGISTER_DELETE = 903;

// The user-label designer's panel (font boxes 2301 up, one a field).
inline constexpr UINT IDC_UL_WIDTH = 2000;
inline constexpr UINT IDC_UL_WIDTH_CAPTION = 2001;
inline constexpr UINT IDC_UL_LENGTH = 2101;
inline constexpr UINT IDC_UL_LENGTH_CAPTION = 2102;
inline constexpr UINT IDC_UL_GAP = 2201;
inline constexpr UINT IDC_UL_GAP_CAPTION = 2203;
inline constexpr UINT IDC_UL_FIRST_FONT = 2301;
inline constexpr UINT IDC_UL_LAST_FONT = 2314;
inline constexpr UINT IDC_UL_FONT_CAPTION = 2351;
inline constexpr UINT IDC_UL_INGREDIENT_LINES = 2401;
inline constexpr UINT IDC_UL_ADVERTISEMENT_LINES = 2402;
inline constexpr UINT IDC_UL_LINES_CAPTION = 2451;
inline constexpr UINT IDC_UL_BARCODE_LENGTH = 2501;
inline constexpr UINT IDC_UL_BARCODE_LENGTH_CAPTION = 2502;
inline constexpr UINT IDC_UL_BARCODE_FORM = 2551;
inline constexpr UINT IDC_UL_FORM_CAPTION = 2552;
inline constexpr UINT IDC_UL_ACCEPT = 2601;
inline constexpr UINT IDC_UL_CLEAR = 2701;

// The work screen's row dialogs.
inline constexpr UINT IDD_GRID_LINE = 153;
inline constexpr UINT IDC_GRID_LINE_LABEL = 1033;
inline constexpr UINT IDC_GRID_LINE_COUNT = 1002;
inline constexpr UINT IDD_AUTO_VALUE = 226;
inline constexpr UINT IDC_AUTO_VALUE_START_LABEL = 1033;
inline constexpr UINT IDC_AUTO_VALUE_START = 1002;
inline constexpr UINT IDC_AUTO_VALUE_INCREMENT_LABEL = 1034;
inline constexpr UINT IDC_AUTO_VALUE_INCREMENT = 1003;

// Message window of the send commands.
inline constexpr UINT IDD_MESSAGE = 225;
inline constexpr UINT IDC_MESSAGE_TEXT = 1002;

// Progress window of the TCP transfers.
inline constexpr UINT IDD_ETH_TRANS_STATUS = 147;
inline constexpr UINT IDC_ETH_SENT_LIST = 1045;
inline constexpr UINT IDC_ETH_RECEIVED_LIST = 1046;
inline constexpr UINT IDC_ETH_SEND_LAMP = 1047;
inline constexpr UINT IDC_ETH_RECEIVE_LAMP = 1048;
inline constexpr UINT IDC_ETH_STOP = 1001;

// Reservation setup.
inline constexpr UINT IDD_RESERVATION_SETUP = 215;
inline constexpr UINT IDC_RESV_MANAGER = 1117;
inline constexpr UINT IDC_RESV_NUMBER = 1118;
inline constexpr UINT IDC_RESV_ONCE = 1128;
inline constexpr UINT IDC_RESV_EVERY_DAY = 1129;
inline constexpr UINT IDC_RESV_WEEK = 1130;
inline constexpr UINT IDC_RESV_YEAR = 1119;
inline constexpr UINT IDC_RESV_MONTH = 1120;
inline constexpr UINT IDC_RESV_DAY = 1121;
inline constexpr UINT IDC_RESV_HOUR = 1007;
inline constexpr UINT IDC_RESV_MINUTE = 1008;
inline constexpr UINT IDC_RESV_SCALES = 1009;
inline constexpr UINT IDC_RESV_SCALES_BUTTON = 1002;
inline constexpr UINT IDC_RESV_ITEM_GRID = 1112;

// Scale list of a reservation.
inline constexpr UINT IDD_SCALE_LIST = 216;
inline constexpr UINT IDC_SCALE_LIST_ALL = 1094;
inline constexpr UINT IDC_SCALE_LIST_CHOSEN = 1095;
inline constexpr UINT IDC_SCALE_LIST_SELECT = 1001;
inline constexpr UINT IDC_SCALE_LIST_REMOVE = 1002;
inline constexpr UINT IDC_SCALE_LIST_ALL_SELECT = 1136;

// Reservation info list.
inline constexpr UINT IDD_RESERVATION_LIST = 217;
inline constexpr UINT IDC_RESV_LIST = 1127;
inline constexpr UINT IDC_RESV_LIST_HINT = 1000;
inline constexpr UINT IDC_RESV_LIST_DELETE = 1001;

// Result View and Manager Result View (the date and run controls shared).
inline constexpr UINT IDD_RESULT_VIEW = 199;
inline constexpr UINT IDD_MANAGER_RESULT_VIEW = 212;
inline constexpr UINT IDC_RESULT_MODE_GROUP = 1140;
inline constexpr UINT IDC_RESULT_LIST_MODE = 1138;
inline constexpr UINT IDC_RESULT_SUMS_MODE = 1139;
inline constexpr UINT IDC_RESULT_SCALE_GROUP = 1078;
inline constexpr UINT IDC_RESULT_ONE_SCALE = 1073;
inline constexpr UINT IDC_RESULT_ALL_SCALES = 1074;
inline constexpr UINT IDC_RESULT_ITEM_GROUP = 1079;
inline constexpr UINT IDC_RESULT_SELECT_ITEM = 1076;
inline constexpr UINT IDC_RESULT_TOTAL_ITEM = 1077;
inline constexpr UINT IDC_RESULT_SCALES_LABEL = 1033;
inline constexpr UINT IDC_RESULT_SCALE_LIST = 1081;
inline constexpr UINT IDC_RESULT_ITEMS_LABEL = 1034;
inline constexpr UINT IDC_RESULT_ITEM_LIST = 1082;
inline constexpr UINT IDC_RESULT_DATE_GROUP = 1093;
inline constexpr UINT IDC_RESULT_DAILY = 1089;
inline constexpr UINT IDC_RESULT_DAY_OF_WEEK = 1090;
inline constexpr UINT IDC_RESULT_WEEKLY = 1091;
inline constexpr UINT IDC_RESULT_MONTHLY = 1092;
inline constexpr UINT IDC_RESULT_BEGIN_LABEL = 1032;
inline constexpr UINT IDC_RESULT_BEGIN = 1087;
inline constexpr UINT IDC_RESULT_END_LABEL = 1052;
inline constexpr UINT IDC_RESULT_END = 1088;
inline constexpr UINT IDC_RESULT_DEFAULT = 1131;
inline constexpr UINT IDC_RESULT_PRICE_LABEL = 1142;
inline constexpr UINT IDC_RESULT_PRICE_DIGITS = 1109;
inline constexpr UINT IDC_RESULT_WEIGHT_LABEL = 1143;
inline constexpr UINT IDC_RESULT_WEIGHT_DIGITS = 1108;
inline constexpr UINT IDC_RESULT_RUN = 1001;
inline constexpr UINT IDC_RESULT_PRINT = 1002;
inline constexpr UINT IDC_RESULT_GRID_GROUP = 1053;
inline constexpr UINT IDC_RESULT_GRID = 1095;
inline constexpr UINT IDC_RESULT_MANAGER_GROUP = 1109;
inline constexpr UINT IDC_RESULT_SELECT_MANAGER = 1110;
inline constexpr UINT IDC_RESULT_MANAGER_LABEL = 1034;
inline constexpr UINT IDC_RESULT_MANAGER_LIST = 1111;

// One scale register entry.
inline constexpr UINT IDD_SCALE_INFO = 140;
inline constexpr UINT IDC_SCALE_INFO_NUMBER_LABEL = 1033;
inline constexpr UINT IDC_SCALE_INFO_NUMBER = 1002;
inline constexpr UINT IDC_SCALE_INFO_NAME_LABEL = 1034;
inline constexpr UINT IDC_SCALE_INFO_NAME = 1003;
inline constexpr UINT IDC_SCALE_INFO_IP_LABEL = 1032;
inline constexpr UINT IDC_SCALE_INFO_IP = 1012;
inline constexpr UINT IDC_SCALE_INFO_SCALE_ID_LABEL = 1052;
inline constexpr UINT IDC_SCALE_INFO_SCALE_ID = 1004;
inline constexpr UINT IDC_SCALE_INFO_KEY_LABEL = 1013;
inline constexpr UINT IDC_SCALE_INFO_KEY = 1005;
inline constexpr UINT IDC_SCALE_INFO_MANAGER_LABEL = 1014;
inline constexpr UINT IDC_SCALE_INFO_MANAGER = 1006;

// Communication settings.
inline constexpr UINT IDD_COMM_SETUP = 141;
inline constexpr UINT IDC_COMM_MODE = 1015;
inline constexpr UINT IDC_COMM_PORT = 1016;
inline constexpr UINT IDC_COMM_ALL_LIST = 1019;
inline constexpr UINT IDC_COMM_CHOSEN_LIST = 1020;
inline constexpr UINT IDC_COMM_SELECT = 1001;
inline constexpr UINT IDC_COMM_REMOVE = 1002;
inline constexpr UINT IDC_COMM_ALL_SELECT = 1130;

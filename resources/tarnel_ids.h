#pragma once
// Resource, command and control ids of tarnel, shared by the code and by
// resources/tarnel/*.rc (the build puts the values in for the names there).
// Ids of the framework (ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_INDICATOR_CAPS,
// AFX_IDS_APP_TITLE ...) are platform's. One constant a line, as
// "inline constexpr UINT NAME = number;": the resource build reads them so.

#include "platform/base/types.h"

// The frame: document string, menu, accelerators, toolbar and icon.
inline constexpr UINT IDR_MAINFRAME = 128;

// Commands of the framework's ranges.
inline constexpr UINT ID_FILE_NEW = 57600;
inline constexpr UINT ID_FILE_OPEN = 57601;
inline constexpr UINT ID_FILE_SAVE = 57603;
inline constexpr UINT ID_FILE_PRINT_SETUP = 57606;
inline constexpr UINT ID_FILE_PRINT = 57607;
inline constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr UINT ID_EDIT_COPY = 57634;
inline constexpr UINT ID_EDIT_CUT = 57635;
inline constexpr UINT ID_EDIT_PASTE = 57637;
inline constexpr UINT ID_EDIT_UNDO = 57643;
inline constexpr UINT ID_APP_ABOUT = 57664;
inline constexpr UINT ID_NEXT_PANE = 57680;
inline constexpr UINT ID_PREV_PANE = 57681;

// Menu and toolbar commands.
inline constexpr UINT ID_SERIAL_JOIN = 32771;
inline constexpr UINT ID_GET_DATA = 32772;
inline constexpr UINT ID_PUT_DATA = 32773;
inline constexpr UINT ID_CASSETTE_OPEN = 32778;
inline constexpr UINT ID_CASSETTE_SAVE_AS = 32779;
inline constexpr UINT ID_CASSETTE_DIALOG = 32780;
inline constexpr UINT ID_LABEL_SAVE_AS = 32784;
inline constexpr UINT ID_NOT_JOIN = 32786;
inline constexpr UINT ID_VIEW_LABEL_DATA_VIEWER = 32787;
inline constexpr UINT ID_LABEL_FRAME_VIEWER = 32788;
inline constexpr UINT ID_TRANS_MODE = 32790;
// Status bar pane of the serial connection.
inline constexpr UINT ID_INDICATOR_CONNECTION = 32789;

// About box.
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDC_ABOUT_PICTURE = 1091;

// Cassette dialog (values in 0.1 mm).
inline constexpr UINT IDD_CASSETTE = 137;
inline constexpr UINT IDC_CASSETTE_PICTURE = 1090;
inline constexpr UINT IDC_CASSETTE_LEFT_EXTRA = 1000;
inline constexpr UINT IDC_CASSETTE_TPH_WIDTH = 1001;
inline constexpr UINT IDC_CASSETTE_BOTTOM_EXTRA = 1002;
inline constexpr UINT IDC_CASSETTE_GAP = 1003;
inline constexpr UINT IDC_CASSETTE_LABEL_WIDTH = 1004;
inline constexpr UINT IDC_CASSETTE_LABEL_LENGTH = 1005;

// Label data viewer: X, Y and font of each field, then the label's size.
inline constexpr UINT IDD_LABEL_DATA_BAR = 138;
inline constexpr UINT IDC_NAME_X = 1000;
inline constexpr UINT IDC_NAME_Y = 1001;
inline constexpr UINT IDC_NAME_FONT = 1028;
inline constexpr UINT IDC_ORIGIN_X = 1002;
inline constexpr UINT IDC_ORIGIN_Y = 1003;
inline constexpr UINT IDC_ORIGIN_FONT = 1029;
inline constexpr UINT IDC_PACK_DATE_X = 1004;
inline constexpr UINT IDC_PACK_DATE_Y = 1005;
inline constexpr UINT IDC_PACK_DATE_FONT = 1030;
inline constexpr UINT IDC_LIMIT_DATE_X = 1006;
inline constexpr UINT IDC_LIMIT_DATE_Y = 1007;
inline constexpr UINT IDC_LIMIT_DATE_FONT = 1031;
inline constexpr UINT IDC_PIECE_PRICE_X = 1008;
inline constexpr UINT IDC_PIECE_PRICE_Y = 1009;
inline constexpr UINT IDC_PIECE_PRICE_FONT = 1032;
inline constexpr UINT IDC_WEIGHT_X = 1010;
inline constexpr UINT IDC_WEIGHT_Y = 1011;
inline constexpr UINT IDC_WEIGHT_FONT = 1033;
inline constexpr UINT IDC_BARCODE_X = 1012;
inline constexpr UINT IDC_BARCODE_Y = 1013;
inline constexpr UINT IDC_BARCODE_FONT = 1074;
inline constexpr UINT IDC_TOTAL_PRICE_X = 1015;
inline constexpr UINT IDC_TOTAL_PRICE_Y = 1016;
inline constexpr UINT IDC_TOTAL_PRICE_FONT = 1034;
inline constexpr UINT IDC_PLU_X = 1017;
inline constexpr UINT IDC_PLU_Y = 1018;
inline constexpr UINT IDC_PLU_FONT = 1035;
inline constexpr UINT IDC_COUNT_X = 1019;
inline constexpr UINT IDC_COUNT_Y = 1020;
inline constexpr UINT IDC_COUNT_FONT = 1036;
inline constexpr UINT IDC_SALE_KIND_X = 1021;
inline constexpr UINT IDC_SALE_KIND_Y = 1022;
inline constexpr UINT IDC_SALE_KIND_FONT = 1037;
inline constexpr UINT IDC_ADDITION_X = 1023;
inline constexpr UINT IDC_ADDITION_Y = 1024;
inline constexpr UINT IDC_ADDITION_FONT = 1038;
inline constexpr UINT IDC_ADV_X = 1025;
inline constexpr UINT IDC_ADV_Y = 1026;
inline constexpr UINT IDC_ADV_FONT = 1040;
inline constexpr UINT IDC_VAT_X = 1068;
inline constexpr UINT IDC_VAT_Y = 1069;
inline constexpr UINT IDC_VAT_FONT = 1072;
inline constexpr UINT IDC_PRICE_X = 1070;
inline constexpr UINT IDC_PRICE_Y = 1071;
inline constexpr UINT IDC_PRICE_FONT = 1073;
inline constexpr UINT IDC_ADDITION_LINES = 1039;
inline constexpr UINT IDC_ADV_LINES = 1041;
inline constexpr UINT IDC_BARCODE_LENGTH = 1014;
inline constexpr UINT IDC_BARCODE_FORMAT = 1042;
inline constexpr UINT IDC_LABEL_LENGTH = 1027;
inline constexpr UINT IDC_LABEL_WIDTH = 1046;
inline constexpr UINT IDC_LABEL_EDGE = 1049;
inline constexpr UINT IDC_SCALE_NUMBER = 1047;
inline constexpr UINT IDC_FILE_NUMBER = 1048;
inline constexpr UINT IDC_RS232_ALONE = 1075;
inline constexpr UINT IDC_RS232_MULTI = 1076;
inline constexpr UINT IDC_TX_LAMP = 1062;
inline constexpr UINT IDC_RX_LAMP = 1063;

// Serial settings.
inline constexpr UINT IDD_SERIAL_SETTINGS = 135;
inline constexpr UINT IDC_SERIAL_PORT = 1056;
inline constexpr UINT IDC_SERIAL_BAUD = 1057;
inline constexpr UINT IDC_SERIAL_PARITY = 1058;
inline constexpr UINT IDC_SERIAL_DATA_BITS = 1059;
inline constexpr UINT IDC_SERIAL_STOP_BITS = 1060;
inline constexpr UINT IDC_SERIAL_SEND_BUFFER = 1061;
inline constexpr UINT IDC_EVENT_BREAK = 1047;
inline constexpr UINT IDC_EVENT_CTS = 1048;
inline constexpr UINT IDC_EVENT_DSR = 1049;
inline constexpr UINT IDC_EVENT_ERROR = 1050;
inline constexpr UINT IDC_EVENT_RING = 1051;
inline constexpr UINT IDC_EVENT_RLSD = 1052;
inline constexpr UINT IDC_EVENT_RXCHAR = 1053;
inline constexpr UINT IDC_EVENT_RXFLAG = 1054;
inline constexpr UINT IDC_EVENT_TXEMPTY = 1055;

// Transfer mode.
inline constexpr UINT IDD_TRANS_MODE = 159;
inline constexpr UINT IDC_TRANS_MODE_RS232 = 1074;
inline constexpr UINT IDC_TRANS_MODE_TCP = 1075;

// Ethernet GET/PUSH.
inline constexpr UINT IDD_ETHERNET_GET_PUSH = 160;
inline constexpr UINT IDC_GP_SCALES = 1075;
inline constexpr UINT IDC_GP_ADD = 1078;
inline constexpr UINT IDC_GP_DELETE = 1077;
inline constexpr UINT IDC_GP_ADOPT = 1084;
inline constexpr UINT IDC_GP_ADOPT_ALL = 1085;
inline constexpr UINT IDC_GP_REMOVE = 1086;
inline constexpr UINT IDC_GP_REMOVE_ALL = 1087;
inline constexpr UINT IDC_GP_MOVE_UP = 1088;
inline constexpr UINT IDC_GP_MOVE_DOWN = 1089;
inline constexpr UINT IDC_GP_ADOPTED_GROUP = 1091;
inline constexpr UINT IDC_GP_ADOPTED = 1090;
inline constexpr UINT IDC_GP_GET_GROUP = 1092;
inline constexpr UINT IDC_GP_GET_SCALE = 1076;
inline constexpr UINT IDC_GP_LOG = 1000;
inline constexpr UINT IDC_GP_PROGRESS = 1081;
inline constexpr UINT IDC_GP_STATUS = 1082;
inline constexpr UINT IDC_GP_TRANSFER = 1079;
inline constexpr UINT IDC_GP_CLOSE = 1080;
// Handled and ignored; the template has no such buttons.
inline constexpr UINT IDC_GP_NOTHING_OK = 1093;
inline constexpr UINT IDC_GP_NOTHING_CANCEL = 1094;

// Scale name and address.
inline constexpr UINT IDD_SCALE_IP = 161;
inline constexpr UINT IDC_SCALE_IP_NAME = 1000;
inline constexpr UINT IDC_SCALE_IP_ADDRESS = 1083;

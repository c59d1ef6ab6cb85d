#ifndef KALTRENOX_RESOURCE_H
#define KALTRENOX_RESOURCE_H
/*
 * Resource and control ids of kaltrenox.exe. Included by the .rc scripts and by
 * the C++ code, so only plain #defines live here.
 *
 * Conventions:
 * - Dialogs, menu, accelerators, bitmaps and icons are addressed by upper-case
 *   names ("CONFIG", "MAINMENU", "MAINACCEL", "GAUGE1", "FILEOPEN"), not by
 *   numbers. A button or static whose text is "@NAME" gets the icon NAME when
 *   its dialog opens.
 * - A command id is also the string id of its status-bar help text, and a tool
 *   bar button carries the id of the menu command it stands for.
 * - Ids of 256 and above never close a dialog by themselves; ids below 256
 *   (OK, Abbruch) end it.
 * - Notebook pages are group boxes 65281, 65282, ... inside a template, the
 *   page area is a frame static 65280; the tabs get the ids 65280 + page.
 */

/* Icons addressed by number: the measurement files' icon, registered as
   "kaltrenox.exe,-2" (a negative number is a resource id). */
#define IDI_MEASUREMENT_FILE    2

/* Commands: menu "MAINMENU", accelerators "MAINACCEL", tool bar "TOOLBAR1". */
#define ID_FILE_ADD             512   /* "Hin&zufügen...", key A, "@FILEADD" */
#define ID_FILE_OPEN            513   /* "&Öffnen...", key O, "@FILEOPEN" */
#define ID_FILE_PRINT           516   /* "&Drucken...", key P, "@FILEPRINT" */
#define ID_FILE_PRINT_SETUP     517   /* "Drucker &einrichten..." */
#define ID_APP_EXIT             518   /* "&Beenden" */
#define ID_WINDOW_TILE          1024  /* "&Nebeneinander", key T */
#define ID_WINDOW_CASCADE       1025  /* "Über&lappend", key C */
#define ID_APP_ABOUT            1280  /* "Über &Kaltrenox..." */
#define ID_VIEW_PAGE            1537  /* "@VIEWPAGE", page view toggle */
#define ID_AXIS_X               1539  /* tool bar combo box: unit of the X axis */
#define ID_AXIS_Y               1540  /* tool bar combo box: unit of the Y axis */
#define ID_MEASURE              1543  /* "&Messen...", key M, "@STARTMS" */
#define ID_ZOOM_ALL             1544  /* "@ZOOMALL" */
#define ID_VIEW_RPM_SPEED       1546  /* key F4: engine speed over road speed */
#define ID_OPTIONS              1547  /* "@CONFIG"; also "Einstellen..." in "SPEED" */
#define ID_EDIT_DATA            1548  /* "@EDITDATA" */
#define ID_VIEW_RPM_TIME        1549  /* key F3: engine speed over time */
#define ID_VIEW_TORQUE_RPM      1550  /* key F2: torque over engine speed */
#define ID_VIEW_POWER_RPM       1551  /* key F1: power over engine speed */
#define ID_HARDWARE             1552  /* Ctrl+Alt+S: dialog "HARDWARE" */
#define ID_CORRECTION           1553  /* "@CORR": dialog "CORRECT" */
#define ID_LAMBDA_CURVE         1554  /* "@SHOWLAMB", key L */
#define ID_VIEW_POWER_TORQUE    1555  /* key F5: power and torque over engine speed */
#define ID_FILE_EXPORT          1600  /* "E&xportieren...", key X: page as PNG or EMF, points as CSV */
#define ID_CTRL_ALT_W           3328  /* Ctrl+Alt+W: routed like any command, changes nothing */

/* MDI: the first diagram window in the "&Fenster" menu. */
#define ID_MDI_FIRSTCHILD       1000

/* Dialog "SPEED" (measurement run). */
#define IDC_SPEED_GAUGE         1792
#define IDC_RPM_GAUGE           1793
#define IDC_SLIP_LAMP           1795
#define IDC_TRANSMISSION_LAMP   1797
#define IDC_START               1798
#define IDC_AF_BAR              1799
#define IDC_GAS_BAR             1800
#define IDC_DEVICE_LIST         1801
#define IDC_RUN_PROGRESS        1802
#define IDC_STATUS_LINE         1803
#define IDC_RATIO_TEXT          2306

/* Dialog "CONFIG" (options notebook); 2049 and the weather ids also in "EDITDATA". */
#define IDC_PERIOD              2048
#define IDC_COMMENT             2049
#define IDC_START_VAL           2050
#define IDC_START_MODE          2051
#define IDC_SPEED_MIN           2058
#define IDC_SPEED_MAX           2059  /* also "Max. km/h:" in "CALCGEAR" */
#define IDC_RPM_MIN             2060
#define IDC_RPM_MAX             2061  /* also "Max. U/min:" in "CALCGEAR" */
#define IDC_COM_PORT            2068
#define IDC_RELATION            2070
#define IDC_GEAR                2071
#define IDC_GEAR_AUTO           2072
#define IDC_RESUME_MODE         2073
#define IDC_PRESSURE            2078
#define IDC_TEMPERATURE         2079
#define IDC_HUMIDITY            2080
#define IDC_WEATHER_AUTO        2081
#define IDC_BORDER_LEFT         2088
#define IDC_BORDER_TOP          2089
#define IDC_BORDER_RIGHT        2090
#define IDC_BORDER_BOTTOM       2091
#define IDC_HEADLINE            2092
#define IDC_CORRECTION          2098
#define IDC_LOSSTIME            2099
#define IDC_POWER_UNIT          2100
#define IDC_POWER_MODE          2101
#define IDC_SMOOTHING           2102  /* "Glättung:", also in "CORRECT" */
#define IDC_FONT_NAME           2821
#define IDC_FONT_HEIGHT         2822
#define IDC_WEATHER_ADJUST      3328  /* "Abgleich..." on the page "Wetter" */

/* Dialog "WEATHERDLG" (weather sensor calibration). */
#define IDC_HUMIDITY1           3328
#define IDC_HUMIDITY2           3329
#define IDC_PRESSURE1           3330
#define IDC_PRESSURE2           3331
#define IDC_TEMPER1             3332
#define IDC_TEMPER2             3333

/* Dialogs "EDITDATA" and "CALCGEAR". */
#define IDC_FILE_LIST           2560
#define IDC_INERTIA             2561  /* also in "HARDWARE" */
#define IDC_CALC_GEAR           2562  /* "Ermitteln..." */

/* Dialog "HARDWARE". */
#define IDC_PCORR               2816
#define IDC_MCORR               2817
#define IDC_BOOT_COMMAND        2818  /* group "Boot-Befehl", bound to no setting */
#define IDC_BOOT_FILE           2819  /* "Code-Datei:", bound to no setting */
#define IDC_TIME_FORMAT         2820
#define IDC_PULSE_COUNT         2823
#define IDC_WHEEL               2824  /* also "Wellenumfang:" in "EDITDATA" */

/* About box "KALTRNX". */
#define IDC_PROGRAM_VERSION     3073
#define IDC_LIBRARY_VERSION     3074

/* Print progress dialog "PRINTDLG". */
#define IDC_PRINT_DOCUMENT      256

/* Notebook templates. */
#define IDC_PAGE_AREA           65280
#define IDC_PAGE_FIRST          65281
#define IDC_PAGE_LAST           65295
#define IDC_PAGE_FRAME          65535
#define IDC_STATIC              (-1)

/* String table (strings.rc): messages, labels and choice lists. */
#define IDS_CORRECTION_CHOICES  40000  /* "unkorrigiert|DIN 70020|ISO 1585" */
#define IDS_PULSE_CHOICES       40001
#define IDS_RELATION_CHOICES    40002
#define IDS_DIAGRAM_TITLE       40003
#define IDS_NO_COASTDOWN        40005
#define IDS_SPEED               40006
#define IDS_TORQUE              40007
#define IDS_POWER               40008
#define IDS_TIME                40009
#define IDS_RPM                 40010
#define IDS_DISTANCE            40011
#define IDS_NO_GEAR_RATIO       40012
#define IDS_POWER_MODE_CHOICES  40013
#define IDS_UPDATE_INFO         40014
#define IDS_SAVE_CHANGES        40016
#define IDS_DIAGRAM_FULL        40017
#define IDS_ERROR               40018
#define IDS_HEADLINE            40019
#define IDS_WRONG_FORMAT        40020
#define IDS_TOO_MANY_SAMPLES    40021
#define IDS_START               40023
#define IDS_WAIT_START_BUTTON   40024
#define IDS_WAIT_RPM            40025
#define IDS_STOP                40026
#define IDS_TIME_FORMAT         40028
#define IDS_WAIT_SPEED          40029
#define IDS_POWER_TORQUE        40030
#define IDS_OLD_FILE            40031
#define IDS_START_MODE_CHOICES  40032
#define IDS_POWER_UNIT_CHOICES  40033
#define IDS_UNIT_KMH            40034
#define IDS_UNIT_NM             40035
#define IDS_UNIT_PS             40036
#define IDS_UNIT_KW             40037
#define IDS_UNIT_S              40038
#define IDS_UNIT_RPM            40039
#define IDS_UNIT_M              40040
#define IDS_MAX_POWER           40041
#define IDS_MAX_TORQUE          40042
#define IDS_RESUME_CHOICES      40043
#define IDS_WEATHER_LINE        40044
#define IDS_UNIT_KW_NM          40045
#define IDS_DEVICE_CHOICES      40046
#define IDS_GAS                 40047
#define IDS_UNIT_PS_NM          40048
#define IDS_NOT_SAVED           40070  /* "Die Datei konnte nicht gespeichert werden." */
#define IDS_UNKNOWN_DATE        40080  /* "( Meßzeitpunkt unbekannt! )" on the printed page */
#define IDS_TEMPERATURE_BAR     40090  /* "Temp.": the gas bar's caption for exhaust temperature */
#define IDS_SAVE_ELSEWHERE      40091  /* after a failed save of a recorded run */
#define IDS_SMOOTHING_CHOICES   40160  /* "normal (75 ms)|mittel (150 ms)|stark (300 ms)" */
#define IDS_SMOOTHING           40161  /* "Glättung": named in the axis title */
#define IDS_CORRECTION_FACTOR   40162  /* "Korrekturfaktor": after the weather on the page */
#define IDS_FACTOR_OUT_OF_BAND  40163  /* the page's warning for a factor outside 0.93 ... 1.07 */
#define IDS_FILE_COLUMN         40164  /* "Datei": first column of the exported points */
#define IDS_EXPORT_PNG          40165  /* the export's file types: "Druckseite als PNG-Bild (*.png)" */
#define IDS_EXPORT_EMF          40166  /* "Druckseite als EMF-Grafik (*.emf)" */
#define IDS_EXPORT_CSV          40167  /* "Meßpunkte als CSV (*.csv)" */
#define IDS_LINE_DISTURBED      40100  /* the status line after a run with rejected frames or restored revolutions */
#define IDS_RECOVERY_QUESTION   40110  /* at start: an unsaved run was found in the recovery file */
#define IDS_RECOVERY_DROP       40111  /* before the recovered run is deleted */
#define IDS_PORT_UNAVAILABLE    40112  /* the measurement dialog's status line while the port is gone */
#define IDS_RUN_LINE_LOST       40113  /* a run ended by a lost port */
#define IDS_PRINTER_REFUSED     40120  /* "Der Drucker %s kann nicht drucken.": no context, or the job refused */
#define IDS_NO_PRINTER          40121  /* "Es ist kein Drucker eingerichtet." */

#endif

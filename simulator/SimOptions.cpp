#include "SimOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <type_traits>
#include <vector>

#include "Utf8.h"

namespace {

const char kHelp[] =
    "Aufruf: dynosim [OPTION]...\n"
    "Simuliert die Steuerung des Rollenprüfstands mit Fahrzeug, Fahrer und Sensoren.\n"
    "\n"
    "Ausgabe (eine davon):\n"
    "  --port PFAD            auf einem vorhandenen seriellen Gerät oder Pseudo-Terminal-Ende sprechen\n"
    "  --pty VERWEIS          ein Pseudo-Terminal anlegen, VERWEIS als symbolische Verknüpfung darauf\n"
    "  --write-kxm DATEI      ohne Leitung laufen und die aufgezeichnete Messung als Meßdatei schreiben\n"
    "  --write-raw DATEI      jedes gesendete Byte zusätzlich in DATEI schreiben (Mitschnitt für kxm decode;\n"
    "                         - für die Standardausgabe)\n"
    "\n"
    "Ablauf (ohne Angabe: Zyklus endlos; mit --write-kxm bis die Messung fertig ist;\n"
    "nur --write-raw: ein Zyklus). Zyklus: Leerlauf im Gang, Anfahren, Vollast bis zur\n"
    "Grenzdrehzahl, Auskuppeln und Ausrollen, Abbremsen auf Leerlaufdrehzahl:\n"
    "  --cycles N             nach N Zyklen enden\n"
    "  --duration S           nach S simulierten Sekunden enden\n"
    "  --steady UPM           Motordrehzahl UPM halten statt des Zyklus\n"
    "  --idle-time S          Leerlaufzeit je Zyklus (5)\n"
    "  --coast-time S         Ausrollzeit (8)\n"
    "  --pull-from UPM        Beginn der Vollast (1500)\n"
    "  --limit UPM            Grenzdrehzahl, Ende der Vollast (6500)\n"
    "  --idle-rpm UPM         Leerlaufdrehzahl (900)\n"
    "\n"
    "Fahrzeug und Rolle:\n"
    "  --gear G               Motorumdrehungen je Rollenumdrehung (3.0)\n"
    "  --inertia J            Massenträgheit der Rolle in Nms² (7.05)\n"
    "  --wheel U              Rollenumfang in m (1.25)\n"
    "  --torque-curve LISTE   Vollast-Drehmoment \"UPM:NM,UPM:NM,...\" (Vorgabe: etwa 70 kW)\n"
    "  --loss A[,B]           Verlustmoment am Motor: A Nm je 1000 U/min (+ B Nm je (1000 U/min)²) (3,0)\n"
    "  --slip S               Radschlupf beim größten Drehmoment, Anteil (0)\n"
    "\n"
    "Steuerung:\n"
    "  --roller-pulses N      Zähne des Impulsrads der Rolle (16)\n"
    "  --engine-signal R      Zündimpulse je Motorumdrehung: 1:2, 1:1 oder 2:1 (1:1)\n"
    "  --config M,R,P         Einstellung beim Einschalten: Kanalmodus, Übersetzungscode,\n"
    "                         Impulszahl-Index (0,1,0)\n"
    "\n"
    "Sensoren:\n"
    "  --sensor ART           Lambdameßgerät: none, narrowband, ueco, mto, wb2 (wb2)\n"
    "  --sensor-bytes B1,B2   feste Analogbytes statt des Meßgeräts\n"
    "  --lambda L             festes Lambda im Abgas\n"
    "  --weather T,P,H        Wetter in °C, mbar, % (22,1005,45)\n"
    "  --weather-cal T1,T2,P1,P2,H1,H2\n"
    "                         Kennlinie der Wettersensoren, (Rohwert - Offset) x Faktor\n"
    "                         (0,1,-300,2,0,1)\n"
    "\n"
    "Störungen und Zeit:\n"
    "  --noise US             Zeitrauschen jeder Impulsflanke in Mikrosekunden (Standardabweichung);\n"
    "                         Analog- und Wetterbytes schwanken um eine Stufe (0)\n"
    "  --lose-bytes P         Wahrscheinlichkeit, daß ein Byte verlorengeht (0)\n"
    "  --garble-bytes P       Wahrscheinlichkeit, daß in einem Byte ein zufälliges Bit kippt,\n"
    "                         Kopfbits eingeschlossen (0)\n"
    "  --extra-bytes P        Wahrscheinlichkeit, daß nach einem Byte ein zufälliges Byte eingefügt wird (0)\n"
    "                         Die Leitungsfehler würfeln unabhängig vom Fahrzeug: derselbe --seed\n"
    "                         fährt mit und ohne Fehler dasselbe Fahrzeug.\n"
    "  --seed N               Startwert des Zufallsgenerators (1)\n"
    "  --time-scale S         simulierte Sekunden je echter Sekunde auf der Leitung (1)\n"
    "\n"
    "Aufzeichnung (--write-kxm), wie Kaltrenox sie macht:\n"
    "  --device N             gewählter Eintrag der Geräteliste, 0-6 (0)\n"
    "  --press-start S        Zeitpunkt des Startknopfs (1)\n"
    "  --start-mode rpm|kmh   Startbedingung über Drehzahl oder Geschwindigkeit (rpm)\n"
    "  --start-value N        Startschwelle (2000)\n"
    "  --period S             Meßdauer in s (20)\n"
    "  --fixed-gear G         Untersetzung G schreiben statt sie zu ermitteln\n"
    "  --comment TEXT         Kommentar der Meßdatei\n"
    "  --recorded-at S        Aufnahmezeit, Sekunden seit 1970 (1735689600)\n"
    "\n"
    "  --quiet                keine Fortschrittsmeldungen\n"
    "  --help                 diese Hilfe\n";

bool toDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value)) return false;
    out = value;
    return true;
}

bool toLong(const std::string& text, long long low, long long high, long long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || value < low || value > high) return false;
    out = value;
    return true;
}

bool toDoubles(const std::string& text, std::vector<double>& out) {
    out.clear();
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        double value = 0;
        if (!toDouble(text.substr(start, comma - start), value)) return false;
        out.push_back(value);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

const char* dynosimHelp() { return kHelp; }

namespace {

using Handler = std::function<bool(const std::string&)>;

struct Option {
    const char* name;
    Handler handle;  // empty: a flag without value
    bool* flag;
};

// One row per option; the handlers write into `o`.
std::vector<Option> optionTable(DynosimOptions& o) {
    VehicleParameters& v = o.simulation.vehicle;
    ControllerParameters& c = o.simulation.controller;
    SensorParameters& s = o.simulation.sensors;
    RecordingParameters& r = o.recording;

    auto positive = [](double& field) {
        return [&field](const std::string& t) { return toDouble(t, field) && field > 0; };
    };
    auto nonNegative = [](double& field) {
        return [&field](const std::string& t) { return toDouble(t, field) && field >= 0; };
    };
    auto integer = [](auto& field, long long low, long long high) {
        return [&field, low, high](const std::string& t) {
            long long value = 0;
            if (!toLong(t, low, high, value)) return false;
            field = static_cast<std::remove_reference_t<decltype(field)>>(value);
            return true;
        };
    };
    auto probability = [](double& field) {
        return [&field](const std::string& t) { return toDouble(t, field) && field >= 0 && field <= 1; };
    };
    auto text = [](std::string& field) {
        return [&field](const std::string& t) {
            field = t;
            return !t.empty();
        };
    };
    return {
        {"--port", text(o.port), nullptr},
        {"--pty", text(o.ptyLink), nullptr},
        {"--write-kxm", text(o.kxmPath), nullptr},
        {"--write-raw", text(o.rawPath), nullptr},
        {"--cycles", integer(o.cycles, 1, 1000000), nullptr},
        {"--duration", positive(o.duration), nullptr},
        {"--steady", positive(v.steadyRpm), nullptr},
        {"--idle-time", nonNegative(v.idleSeconds), nullptr},
        {"--coast-time", nonNegative(v.coastSeconds), nullptr},
        {"--pull-from", positive(v.pullStartRpm), nullptr},
        {"--limit", positive(v.limitRpm), nullptr},
        {"--idle-rpm", positive(v.idleRpm), nullptr},
        {"--gear", positive(v.gearRatio), nullptr},
        {"--inertia", positive(v.inertia), nullptr},
        {"--wheel", positive(v.circumference), nullptr},
        {"--torque-curve", [&](const std::string& t) { return v.engine.parse(t); }, nullptr},
        {"--loss",
         [&](const std::string& t) {
             std::vector<double> values;
             if (!toDoubles(t, values) || values.size() > 2) return false;
             v.lossLinear = values[0];
             v.lossQuadratic = values.size() > 1 ? values[1] : 0;
             return v.lossLinear >= 0 && v.lossQuadratic >= 0;
         },
         nullptr},
        {"--slip", [&](const std::string& t) { return toDouble(t, v.slip) && v.slip >= 0 && v.slip < 1; }, nullptr},
        {"--roller-pulses", integer(c.rollerPulses, 1, 255), nullptr},
        {"--engine-signal",
         [&](const std::string& t) {
             if (t == "1:2") c.engineSignal = 0.5;
             else if (t == "1:1") c.engineSignal = 1;
             else if (t == "2:1") c.engineSignal = 2;
             else return false;
             return true;
         },
         nullptr},
        {"--config",
         [&](const std::string& t) {
             std::vector<double> values;
             if (!toDoubles(t, values) || values.size() != 3) return false;
             for (double x : values)
                 if (x != std::floor(x) || x < 0 || x > 15) return false;
             c.mode = static_cast<uint8_t>(values[0]);
             c.ratioCode = static_cast<uint8_t>(values[1]);
             c.pulseIndex = static_cast<uint8_t>(values[2]);
             return true;
         },
         nullptr},
        {"--sensor", [&](const std::string& t) { return parseSensorKind(t, s.kind); }, nullptr},
        {"--sensor-bytes",
         [&](const std::string& t) {
             std::vector<double> values;
             if (!toDoubles(t, values) || values.size() != 2) return false;
             for (double x : values)
                 if (x != std::floor(x) || x < 0 || x > 255) return false;
             s.fixedBytes = true;
             s.fixedB1 = static_cast<uint8_t>(values[0]);
             s.fixedB2 = static_cast<uint8_t>(values[1]);
             return true;
         },
         nullptr},
        {"--lambda", positive(s.fixedLambda), nullptr},
        {"--weather",
         [&](const std::string& t) {
             std::vector<double> values;
             if (!toDoubles(t, values) || values.size() != 3) return false;
             s.temperature = values[0];
             s.pressure = values[1];
             s.humidity = values[2];
             return true;
         },
         nullptr},
        {"--weather-cal",
         [&](const std::string& t) {
             std::vector<double> x;
             if (!toDoubles(t, x) || x.size() != 6 || x[1] == 0 || x[3] == 0 || x[5] == 0) return false;
             s.calibration = {x[0], x[1], x[2], x[3], x[4], x[5]};
             return true;
         },
         nullptr},
        {"--noise",
         [&](const std::string& t) {
             if (!toDouble(t, c.jitterMicroseconds) || c.jitterMicroseconds < 0) return false;
             s.noise = c.jitterMicroseconds > 0;
             return true;
         },
         nullptr},
        {"--lose-bytes", probability(o.simulation.byteLoss), nullptr},
        {"--garble-bytes", probability(o.simulation.byteGarble), nullptr},
        {"--extra-bytes", probability(o.simulation.byteExtra), nullptr},
        {"--seed", integer(o.simulation.seed, 0, INT64_MAX), nullptr},
        {"--time-scale", positive(o.timeScale), nullptr},
        {"--device", integer(r.device, 0, 6), nullptr},
        {"--press-start", nonNegative(r.pressStart), nullptr},
        {"--start-mode",
         [&](const std::string& t) {
             if (t == "rpm") r.startMode = 0;
             else if (t == "kmh") r.startMode = 1;
             else return false;
             return true;
         },
         nullptr},
        {"--start-value", integer(r.startValue, 0, 32767), nullptr},
        {"--period", integer(r.period, 0, 1073), nullptr},
        {"--fixed-gear",
         [&](const std::string& t) {
             r.gearAuto = false;
             return toDouble(t, r.gear) && r.gear > 0;
         },
         nullptr},
        {"--comment",
         [&](const std::string& t) {
             r.comment = fromUtf8(t);
             return true;
         },
         nullptr},
        {"--recorded-at", integer(r.recordedAt, INT32_MIN, INT32_MAX), nullptr},
        {"--quiet", Handler(), &o.quiet},
        {"--help", Handler(), &o.help},
    };
}

}  // namespace

std::vector<std::string> dynosimOptionNames() {
    DynosimOptions scratch;
    std::vector<std::string> names;
    for (const Option& option : optionTable(scratch)) names.push_back(option.name);
    return names;
}

bool parseDynosimOptions(int argc, char** argv, DynosimOptions& o, std::string& error) {
    const std::vector<Option> table = optionTable(o);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option* option = nullptr;
        for (const Option& candidate : table)
            if (arg == candidate.name) option = &candidate;
        if (!option) {
            error = "unbekannte Option: " + arg;
            return false;
        }
        if (option->flag) {
            *option->flag = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "Wert fehlt: " + arg;
            return false;
        }
        const std::string value = argv[++i];
        if (!option->handle(value)) {
            error = "ungültiger Wert für " + arg + ": " + value;
            return false;
        }
    }
    if (o.help) return true;
    const int lines = !o.port.empty() + !o.ptyLink.empty();
    if (lines > 1) {
        error = "--port und --pty schließen sich aus";
        return false;
    }
    if (lines == 1 && !o.kxmPath.empty()) {
        error = "--write-kxm läuft ohne Leitung (ohne --port und --pty)";
        return false;
    }
    if (lines == 0 && o.kxmPath.empty() && o.rawPath.empty()) {
        error = "keine Ausgabe: --port, --pty, --write-kxm oder --write-raw angeben";
        return false;
    }
    return true;
}

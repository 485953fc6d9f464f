#include "cli/command.h"

#include "cli/profile.h"
#include "model/strict_hex.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace sg::cli {

namespace {

const QCommandLineOption JSON_OPTION("json", "One JSON object per line.");
const QCommandLineOption SAVE_OPTION("save", "Write what was read to FILE as a profile.", "FILE");
const QCommandLineOption DATA_OPTION("data", "The message: 0 to 16 hex digits, even count.", "HEX");
const QCommandLineOption PARAMS_OPTION("params", "7 or 8 two-digit hex bytes.", "HEX");
const QCommandLineOption FROM_OPTION("from", "Take data and params from a profile.", "FILE");
const QCommandLineOption VERIFY_OPTION("verify", "Read back after storing and compare.");
const QCommandLineOption PROBE_OPTION("probe", "Ask every port whether a generator answers.");

std::optional<Command> Fail(QString &error, const QString &message)
{
    error = message;
    return std::nullopt;
}

std::optional<std::vector<int>> ParseComs(const QStringList &given, QString &error)
{
    static const QRegularExpression number("^[0-9]{1,2}$");
    std::vector<int> coms;
    for (const QString &text : given) {
        const int com = text.toInt();
        if (!number.match(text).hasMatch() || com < 1) {
            error = "COM: expected a port number from 1 to 99 (see 'sgsetup-cli ports'), got '" +
                    text + "'";
            return std::nullopt;
        }
        if (std::find(coms.begin(), coms.end(), com) != coms.end()) {
            error = "COM: " + text + " is given twice";
            return std::nullopt;
        }
        coms.push_back(com);
    }
    if (coms.empty())
        error = "COM: expected at least one port number";
    return coms.empty() ? std::nullopt : std::optional(coms);
}

std::optional<model::Blocks> BlocksFromOptions(const QCommandLineParser &parser, QString &error)
{
    if (parser.isSet(FROM_OPTION)) {
        if (parser.isSet(DATA_OPTION) || parser.isSet(PARAMS_OPTION)) {
            error = "--from: give either a profile or --data and --params, not both";
            return std::nullopt;
        }
        return LoadProfile(parser.value(FROM_OPTION), error);
    }
    if (!parser.isSet(DATA_OPTION) || !parser.isSet(PARAMS_OPTION)) {
        error = "store: expected --data HEX and --params HEX, or --from FILE";
        return std::nullopt;
    }
    std::string reason;
    const std::optional<model::DataBlock> data =
        model::ParseStrictData(parser.value(DATA_OPTION).toStdString(), reason);
    if (!data) {
        error = "--data: " + QString::fromStdString(reason);
        return std::nullopt;
    }
    const std::optional<model::ByteString> given =
        model::ParseStrictParamBytes(parser.value(PARAMS_OPTION).toStdString(), reason);
    const std::optional<model::ParamBlock> params =
        given ? model::CompleteParams(*given, data->size(), reason) : std::nullopt;
    if (!params) {
        error = "--params: " + QString::fromStdString(reason);
        return std::nullopt;
    }
    return model::Blocks{*data, *params};
}

std::optional<Command> ParseVerb(Verb verb, const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show the help.");
    parser.addOption(help);
    const bool takesJson = verb != Verb::Decode && verb != Verb::Divisor;
    if (takesJson)
        parser.addOption(JSON_OPTION);
    if (verb == Verb::Ports)
        parser.addOption(PROBE_OPTION);
    if (verb == Verb::Read)
        parser.addOption(SAVE_OPTION);
    if (verb == Verb::Store)
        parser.addOptions({DATA_OPTION, PARAMS_OPTION, FROM_OPTION, VERIFY_OPTION});
    if (!parser.parse(arguments))
        return Fail(error, parser.errorText());

    Command command;
    command.verb = parser.isSet(help) ? Verb::Help : verb;
    if (command.verb == Verb::Help)
        return command;
    const QStringList positional = parser.positionalArguments();
    command.json = takesJson && parser.isSet(JSON_OPTION);

    switch (verb) {
    case Verb::Ports:
        if (!positional.isEmpty())
            return Fail(error, "ports: takes no arguments, got '" + positional.first() + "'");
        command.probe = parser.isSet(PROBE_OPTION);
        return command;
    case Verb::Read:
    case Verb::Store: {
        const std::optional<std::vector<int>> coms = ParseComs(positional, error);
        if (!coms)
            return std::nullopt;
        command.coms = *coms;
        if (verb == Verb::Read) {
            command.savePath = parser.value(SAVE_OPTION);
            if (parser.isSet(SAVE_OPTION) && command.coms.size() != 1)
                return Fail(error, "--save: takes exactly one COM number");
            return command;
        }
        command.verify = parser.isSet(VERIFY_OPTION);
        const std::optional<model::Blocks> blocks = BlocksFromOptions(parser, error);
        if (!blocks)
            return std::nullopt;
        command.blocks = *blocks;
        return command;
    }
    case Verb::Decode: {
        std::string reason;
        const std::optional<model::ByteString> bytes =
            model::ParseStrictParamBytes(positional.join(' ').toStdString(), reason);
        if (!bytes || bytes->size() != model::PARAM_COUNT)
            return Fail(error, "PARAMS: expected 8 two-digit hex bytes, spaces optional, got '" +
                                   positional.join(' ') + "'");
        std::copy(bytes->begin(), bytes->end(), command.blocks.params.begin());
        return command;
    }
    case Verb::Divisor: {
        bool number = positional.size() == 1;
        command.baud = number ? positional.first().toDouble(&number) : 0;
        if (!number || !(command.baud > 0))
            return Fail(error, "BAUD: expected one bit rate above 0, e.g. 9600, got '" +
                                   positional.join(' ') + "'");
        return command;
    }
    case Verb::Help:
    case Verb::Version:
        break;
    }
    return command;
}

} // namespace

QString UsageText()
{
    return QStringLiteral(
        "usage: sgsetup-cli COMMAND [options]\n"
        "\n"
        "Reads and stores the message and parameters of serial signal generators, many at\n"
        "once. COM numbers are the ones the sgsetup window takes; 'ports' lists them.\n"
        "\n"
        "  ports [--probe] [--json]  the COM numbers: number, device, description;\n"
        "                            --probe asks them all whether a generator answers\n"
        "  read COM... [--json] [--save FILE]\n"
        "                            read both blocks from each device\n"
        "  store COM... (--data HEX --params HEX | --from FILE) [--verify] [--json]\n"
        "                            write both blocks into each device\n"
        "  decode PARAMS             explain 8 parameter bytes in words\n"
        "  divisor BAUD              the two divisor bytes to type for a bit rate\n"
        "  --help | --version\n"
        "\n"
        "Input is strict: --data takes 0 to 16 hex digits (an even count), --params 7 or 8\n"
        "two-digit hex bytes (spaces optional); byte 7 is the data length and, when given,\n"
        "must match it. A profile (--save, --from) is {\"data\": \"...\", \"params\": \"...\"}.\n"
        "Every device runs at the same time, 3 seconds per read or store.\n"
        "\n"
        "Exit status: 0 every device succeeded; 1 some device did not answer; 2 some port\n"
        "could not be used (2 wins over 1); 3 a verify mismatch; 64 a usage error, and then\n"
        "nothing was sent. 'divisor' exits 1 when the rate cannot be reached, 'ports\n"
        "--probe' when no generator answered.\n");
}

std::optional<Command> ParseCommand(const QStringList &arguments, QString &error)
{
    static const QList<std::pair<QString, Verb>> verbs{
        {"ports", Verb::Ports},   {"read", Verb::Read},        {"store", Verb::Store},
        {"decode", Verb::Decode}, {"divisor", Verb::Divisor},  {"--help", Verb::Help},
        {"-h", Verb::Help},       {"--version", Verb::Version}};
    if (arguments.isEmpty())
        return Fail(error, "expected a command: ports, read, store, decode or divisor");
    for (const auto &[name, verb] : verbs) {
        if (arguments.first() != name)
            continue;
        if (verb == Verb::Help || verb == Verb::Version) {
            Command command;
            command.verb = verb;
            return command;
        }
        return ParseVerb(verb, arguments, error);
    }
    return Fail(error, "unknown command '" + arguments.first() +
                           "'; expected ports, read, store, decode or divisor");
}

} // namespace sg::cli

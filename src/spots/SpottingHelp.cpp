#include "spots/SpottingHelp.h"

#include "spots/SpotSession.h"

#include <QStringList>

namespace tenlog::spots {

namespace {

QString paragraphs(const QStringList& texts)
{
    QString out;
    for (const QString& text : texts)
        out += text + QStringLiteral("\r\n\r\n");
    return out;
}

QString general()
{
    return paragraphs({
        QStringLiteral("Use this form to configure your DX spotting options.  After you make your selections, a list or "
                       "band map will display on the main form (as selected here) to keep you updated on the latest "
                       "packet spots."),
        QStringLiteral("The list will show the last 2-3 posts on the main form depending on your screen size.  The band "
                       "map shows the prefixes posted for the current band; hold the mouse over a prefix to see the "
                       "whole call and frequency in its tool tip and in the Possible Duplicates box."),
        QStringLiteral("The program keeps the last 50 DX posts regardless of band in memory. Your band map will cycle "
                       "through these posts as they are received.  Posts received within the last 10 minutes will be "
                       "yellow; posts 10-30 minutes old will be white and posts 30-60 minutes old will be gray."),
        QStringLiteral("With rig control set up, right-click a spot on the band map or the spectrum map to tune your "
                       "rig to it.  Right-clicking does nothing in list mode."),
    });
}

QString telnet()
{
    return paragraphs({QStringLiteral("Telnet: connect to the Internet, enter the host and port of a DX cluster, click "
                                      "Open, type your call sign when the cluster asks for it and press Enter.")});
}

QString tnc()
{
    return paragraphs({
        QStringLiteral("TNC: your modem's documentation gives the serial port settings.  Ctrl C or Esc sends the hex "
                       "character that puts the TNC in command mode; no Enter is needed."),
        QStringLiteral("One nice feature with the packet option is that you don't actually have to connect to another "
                       "packet station.  Spots heard on the channel are listed without a connection; tick List DX Only "
                       "to see only the posts identified as DX.  Recent posts are compared so that duplicate posts are "
                       "dropped."),
    });
}

QString packetEngine()
{
    return paragraphs({
        QStringLiteral("The AGW Packet Engine sends and receives packet with your sound card or a TNC."),
        QStringLiteral("- Download the freely available software from https://www.sv2agw.com/"),
        QStringLiteral("The file to download is AGWPE.zip.  Instructions for use are on this website as well."),
        QStringLiteral("- Run the Packet Engine software and configure it as described on the AGW Packet Engine website "
                       "for your sound card or TNC."),
        QStringLiteral("- Click Open from this program."),
        QStringLiteral("To send a connect request using the AGW packet engine, type in the format of"),
        QStringLiteral(":C Korvo     or to disconnect :D"),
        QStringLiteral("and press enter (you can also use the Esc key to add a colon)."),
    });
}

QString closing()
{
    return paragraphs({
        QStringLiteral("When you have configured your DX spotting options, click Open to initiate the communication.  "
                       "Then click Done to return to the main form."),
        QStringLiteral("If the list is being displayed on the main form, you can click on it to quickly return to this "
                       "form.  To return the main form to the original display, select None from the spotting options."),
    });
}

QString hardware()
{
    return paragraphs({QStringLiteral("The TNC option was tested with a Kantronics KPC3+.")});
}

} // namespace

QString spottingHelp(const QString& source)
{
    const auto is = [&](const QString& word) { return source.compare(word, Qt::CaseInsensitive) == 0; };
    if (is(kSourceTnc))
        return tnc() + closing() + hardware();
    if (is(kSourceTelnet))
        return telnet() + closing();
    if (is(kSourceAgw))
        return packetEngine() + closing() + hardware();
    return general() + telnet() + tnc() + packetEngine() + closing() + hardware();
}

} // namespace tenlog::spots

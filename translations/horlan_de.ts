<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>ErrorReport</name>
    <message>
        <source>An Error was generated:</source>
        <translation>Es ist ein Fehler aufgetreten:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Bitte teilen Sie dem Autor die obige Fehlerbeschreibung mit.</translation>
    </message>
    <message>
        <source>No Internet connection found on your system.</source>
        <translation>Auf Ihrem System wurde keine Internetverbindung gefunden.</translation>
    </message>
    <message>
        <source>This program is useless without an Internet connection - Horlan will quit now...</source>
        <translation>Ohne Internetverbindung ist dieses Programm nutzlos - Horlan wird jetzt beendet...</translation>
    </message>
    <message>
        <source>Oops</source>
        <translation>Hoppla</translation>
    </message>
</context>
<context>
    <name>ListDownload</name>
    <message>
        <source>the file is larger than 1 MiB, which no server list is</source>
        <translation>die Datei ist größer als 1 MiB, so groß ist keine Serverliste</translation>
    </message>
    <message>
        <source>nothing arrived for %1 seconds</source>
        <translation>%1 Sekunden lang kam nichts an</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>der Server antwortete %1 %2</translation>
    </message>
    <message>
        <source>the transfer ended after %1 of %2 bytes</source>
        <translation>die Übertragung endete nach %1 von %2 Bytes</translation>
    </message>
    <message>
        <source>the server sent an empty file</source>
        <translation>der Server sandte eine leere Datei</translation>
    </message>
    <message>
        <source>the file is not a server list (it holds binary data)</source>
        <translation>die Datei ist keine Serverliste (sie enthält Binärdaten)</translation>
    </message>
    <message>
        <source>the file is not a server list (it looks like a web page)</source>
        <translation>die Datei ist keine Serverliste (sie sieht aus wie eine Webseite)</translation>
    </message>
    <message>
        <source>the file is not a server list (no line in it names a time server)</source>
        <translation>die Datei ist keine Serverliste (keine ihrer Zeilen nennt einen Zeitserver)</translation>
    </message>
    <message>
        <source>the file could not be saved (%1)</source>
        <translation>die Datei konnte nicht gespeichert werden (%1)</translation>
    </message>
    <message>
        <source>No download support for %1 addresses</source>
        <translation>Herunterladen von %1-Adressen wird nicht unterstützt</translation>
    </message>
</context>
<context>
    <name>ListUpdateTexts</name>
    <message>
        <source>Oops</source>
        <translation>Hoppla</translation>
    </message>
    <message>
        <source>Thank you</source>
        <translation>Vielen Dank</translation>
    </message>
    <message>
        <source>Please restart Horlan to reflect your changes.</source>
        <translation>Bitte starten Sie Horlan neu, damit Ihre Änderungen wirksam werden.</translation>
    </message>
    <message>
        <source>File missing:</source>
        <translation>Datei fehlt:</translation>
    </message>
    <message>
        <source>Please get the LIST.TXT file from the original Horlan.zip file and copy it into the Vantorel software\Horlan application data folder, or download a new version via the Update menu and guide it to the Vantorel software\Horlan application data folder.</source>
        <translation>Bitte nehmen Sie die Datei LIST.TXT aus der ursprünglichen Datei Horlan.zip und kopieren Sie sie in den Anwendungsdatenordner Vantorel software\Horlan, oder laden Sie über das Menü Aktualisieren eine neue Version herunter und speichern Sie sie im Anwendungsdatenordner Vantorel software\Horlan.</translation>
    </message>
    <message>
        <source>File missing: LIST.TXT</source>
        <translation>Datei fehlt: LIST.TXT</translation>
    </message>
    <message>
        <source>No text editor could be started to open the server list:</source>
        <translation>Es konnte kein Texteditor gestartet werden, um die Serverliste zu öffnen:</translation>
    </message>
    <message>
        <source>Please open this file with a text editor of your choice.</source>
        <translation>Bitte öffnen Sie diese Datei mit einem Texteditor Ihrer Wahl.</translation>
    </message>
    <message>
        <source>The server list could not be downloaded from:</source>
        <translation>Die Serverliste konnte nicht heruntergeladen werden von:</translation>
    </message>
    <message>
        <source>Reason: </source>
        <translation>Grund: </translation>
    </message>
    <message>
        <source>Nothing was saved; your server list is unchanged.</source>
        <translation>Es wurde nichts gespeichert; Ihre Serverliste ist unverändert.</translation>
    </message>
    <message>
        <source>The new server list was saved as:</source>
        <translation>Die neue Serverliste wurde gespeichert unter:</translation>
    </message>
    <message>
        <source> Click here to open this location in Windows Explorer </source>
        <translation> Hier klicken, um diesen Ort im Windows-Explorer zu öffnen </translation>
    </message>
    <message>
        <source> Click here to open this location in the file manager </source>
        <translation> Hier klicken, um diesen Ort im Dateimanager zu öffnen </translation>
    </message>
</context>
<context>
    <name>NetstatusTexts</name>
    <message>
        <source>IP Helper is not supported by this system.</source>
        <translation>IP Helper wird von diesem System nicht unterstützt.</translation>
    </message>
    <message>
        <source>Internet Connection Status</source>
        <translation>Status der Internetverbindung</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Ruhig</translation>
    </message>
    <message>
        <source>Receiving</source>
        <translation>Empfängt</translation>
    </message>
    <message>
        <source>Sending</source>
        <translation>Sendet</translation>
    </message>
    <message>
        <source>Receiving and sending</source>
        <translation>Empfängt und sendet</translation>
    </message>
</context>
<context>
    <name>Registry</name>
    <message>
        <source>Incorrect Format:</source>
        <translation>Falsches Format:</translation>
    </message>
</context>
<context>
    <name>RuntimeError</name>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <source>Component not correctly registered</source>
        <translation>Komponente nicht richtig registriert</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Ungültiger Eigenschaftswert</translation>
    </message>
    <message>
        <source>Specified DLL function not found</source>
        <translation>Angegebene DLL-Funktion nicht gefunden</translation>
    </message>
    <message>
        <source>Unexpected error</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
</context>
<context>
    <name>SaveLocation</name>
    <message>
        <source>Save the server list as</source>
        <translation>Serverliste speichern unter</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>SocketErrors</name>
    <message>
        <source>Oops</source>
        <translation>Hoppla</translation>
    </message>
    <message>
        <source>Please try another time server from the list.</source>
        <translation>Bitte versuchen Sie einen anderen Zeitserver aus der Liste.</translation>
    </message>
    <message>
        <source>An error was generated:</source>
        <translation>Es ist ein Fehler aufgetreten:</translation>
    </message>
    <message>
        <source>Number: </source>
        <translation>Nummer: </translation>
    </message>
    <message>
        <source>Description: </source>
        <translation>Beschreibung: </translation>
    </message>
    <message>
        <source>Please check your internet connection, and/or firewall settings.</source>
        <translation>Bitte prüfen Sie Ihre Internetverbindung und/oder die Firewall-Einstellungen.</translation>
    </message>
    <message>
        <source>The connection timed out.</source>
        <translation>Die Zeit für den Verbindungsaufbau ist abgelaufen.</translation>
    </message>
    <message>
        <source>The connection was refused/rejected.</source>
        <translation>Die Verbindung wurde verweigert/abgelehnt.</translation>
    </message>
    <message>
        <source>Could not find the host.</source>
        <translation>Der Host wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Could not retrieve a valid name or data record from the host.</source>
        <translation>Vom Host konnte kein gültiger Name oder Datensatz abgerufen werden.</translation>
    </message>
    <message>
        <source>Please check the address or try another time server from the list.</source>
        <translation>Bitte prüfen Sie die Adresse oder versuchen Sie einen anderen Zeitserver aus der Liste.</translation>
    </message>
</context>
<context>
    <name>StartupChecks</name>
    <message>
        <source>Horlan is already running.</source>
        <translation>Horlan läuft bereits.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Installieren Sie das Programm neu, um dies zu beheben.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest vbruntimes at Vantorel.</source>
        <translation>Installieren Sie das Programm neu, um dies zu beheben, oder holen Sie sich die neuesten VB-Laufzeitdateien bei Vantorel.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Es ist ein Fehler aufgetreten:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Beschreibung: Fehler</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>TimeSyncTexts</name>
    <message>
        <source>Oops</source>
        <translation>Hoppla</translation>
    </message>
    <message>
        <source>Working...</source>
        <translation>Arbeite...</translation>
    </message>
    <message>
        <source>Waiting...</source>
        <translation>Warten...</translation>
    </message>
    <message>
        <source>Waiting ...</source>
        <translation>Warten ...</translation>
    </message>
    <message>
        <source>Clock synchronized succesfully.</source>
        <translation>Uhr erfolgreich synchronisiert.</translation>
    </message>
    <message>
        <source>Clock not synchronized.</source>
        <translation>Uhr nicht synchronisiert.</translation>
    </message>
    <message>
        <source>NTP Server returned an invalid response.</source>
        <translation>Der NTP-Server hat eine ungültige Antwort gegeben.</translation>
    </message>
    <message>
        <source>Invalid Response </source>
        <translation>Ungültige Antwort</translation>
    </message>
    <message>
        <source>The system clock could not be set.</source>
        <translation>Die Systemuhr konnte nicht gestellt werden.</translation>
    </message>
    <message>
        <source>Horlan needs the right to set the system clock.</source>
        <translation>Horlan benötigt das Recht, die Systemuhr zu stellen.</translation>
    </message>
    <message>
        <source>The selected list entry does not seem to be a time server.</source>
        <translation>Der gewählte Listeneintrag scheint kein Zeitserver zu sein.</translation>
    </message>
    <message>
        <source>Please check the address or try another time server from the list.</source>
        <translation>Bitte prüfen Sie die Adresse oder versuchen Sie einen anderen Zeitserver aus der Liste.</translation>
    </message>
    <message>
        <source>Waiting for permission to set the clock...</source>
        <translation>Warte auf Erlaubnis...</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>1 year</source>
        <translation>1 Jahr</translation>
    </message>
    <message>
        <source>%1 years</source>
        <translation>%1 Jahre</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 Stunde</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>The clock agreed with the server to within %1 and was left as it was.</source>
        <translation>Die Uhr stimmte bis auf %1 mit dem Server überein und wurde nicht verändert.</translation>
    </message>
    <message>
        <source>The clock was %1 behind the server (± %2) and has been set.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 nach (± %2) und wurde gestellt.</translation>
    </message>
    <message>
        <source>The clock was %1 ahead of the server (± %2) and has been set.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 vor (± %2) und wurde gestellt.</translation>
    </message>
    <message>
        <source>The clock was %1 behind the server (± %2); it could not be set.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 nach (± %2); sie konnte nicht gestellt werden.</translation>
    </message>
    <message>
        <source>The clock was %1 ahead of the server (± %2); it could not be set.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 vor (± %2); sie konnte nicht gestellt werden.</translation>
    </message>
    <message>
        <source>The clock was %1 behind the server (± %2); you chose not to set it.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 nach (± %2); Sie haben sich entschieden, sie nicht zu stellen.</translation>
    </message>
    <message>
        <source>The clock was %1 ahead of the server (± %2); you chose not to set it.</source>
        <translation>Die Uhr ging gegenüber dem Server %1 vor (± %2); Sie haben sich entschieden, sie nicht zu stellen.</translation>
    </message>
    <message>
        <source>The time was authenticated with NTS.</source>
        <translation>Die Zeit wurde mit NTS authentifiziert.</translation>
    </message>
    <message>
        <source>The time was not authenticated.</source>
        <translation>Die Zeit wurde nicht authentifiziert.</translation>
    </message>
    <message>
        <source>%1 says the time is %2 UTC.</source>
        <translation>%1 meldet als Uhrzeit %2 UTC.</translation>
    </message>
    <message>
        <source>That is %1 ahead of this computer&apos;s clock.</source>
        <translation>Das ist %1 später als die Uhr dieses Computers.</translation>
    </message>
    <message>
        <source>That is %1 behind this computer&apos;s clock.</source>
        <translation>Das ist %1 früher als die Uhr dieses Computers.</translation>
    </message>
    <message>
        <source>A change this large can break certificates, scheduled tasks and logs.</source>
        <translation>Eine so große Änderung kann Zertifikate, geplante Aufgaben und Protokolle stören.</translation>
    </message>
    <message>
        <source>Set the clock anyway?</source>
        <translation>Die Uhr trotzdem stellen?</translation>
    </message>
    <message>
        <source>Large clock change</source>
        <translation>Große Zeitänderung</translation>
    </message>
    <message>
        <source>The time server %1 refuses to serve this computer now (Kiss-o&apos;-Death code %2).</source>
        <translation>Der Zeitserver %1 verweigert diesem Computer derzeit die Zeit (Kiss-o&apos;-Death-Code %2).</translation>
    </message>
    <message>
        <source>Please try again later, or try another time server from the list.</source>
        <translation>Bitte versuchen Sie es später noch einmal oder wählen Sie einen anderen Zeitserver aus der Liste.</translation>
    </message>
    <message>
        <source>The clock was not changed.</source>
        <translation>Die Uhr wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Please try another time server from the list.</source>
        <translation>Bitte versuchen Sie einen anderen Zeitserver aus der Liste.</translation>
    </message>
    <message>
        <source>The certificate of %1 cannot be trusted: %2.</source>
        <translation>Dem Zertifikat von %1 kann nicht vertraut werden: %2.</translation>
    </message>
    <message>
        <source>%1 does not offer Network Time Security (NTS).</source>
        <translation>%1 bietet keine Network Time Security (NTS) an.</translation>
    </message>
    <message>
        <source>unrecognized critical record</source>
        <translation>unbekannter kritischer Eintrag</translation>
    </message>
    <message>
        <source>bad request</source>
        <translation>fehlerhafte Anfrage</translation>
    </message>
    <message>
        <source>internal server error</source>
        <translation>interner Serverfehler</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>%1 refused the NTS key exchange: error %2 (%3).</source>
        <translation>%1 hat den NTS-Schlüsselaustausch abgelehnt: Fehler %2 (%3).</translation>
    </message>
    <message>
        <source>No authenticated time came from %1 within the time limit.</source>
        <translation>Von %1 kam innerhalb der Frist keine authentifizierte Zeit.</translation>
    </message>
    <message>
        <source>Automatic time synchronization is enabled.</source>
        <translation>Die automatische Zeitsynchronisierung ist eingeschaltet.</translation>
    </message>
    <message>
        <source>Turn it off in the system&apos;s date and time settings to set the clock with Horlan.</source>
        <translation>Schalten Sie sie in den Datums- und Uhrzeiteinstellungen des Systems aus, um die Uhr mit Horlan zu stellen.</translation>
    </message>
</context>
<context>
    <name>frmDownload</name>
    <message>
        <source>Download new server list</source>
        <translation>Neue Serverliste herunterladen</translation>
    </message>
    <message>
        <source>Please guide the download (list.txt) file into:</source>
        <translation>Bitte speichern Sie die heruntergeladene Datei (list.txt) in:</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Downloading %1</source>
        <translation>%1 wird heruntergeladen</translation>
    </message>
</context>
<context>
    <name>frmInfo</name>
    <message>
        <source>Internet Connection Status</source>
        <translation>Status der Internetverbindung</translation>
    </message>
    <message>
        <source>You are currently:</source>
        <translation>Sie sind derzeit:</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Connected via LAN</source>
        <translation>Verbunden über LAN</translation>
    </message>
    <message>
        <source>Connected via modem</source>
        <translation>Verbunden über Modem</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Horlan</source>
        <translation>Horlan</translation>
    </message>
    <message>
        <source>Select a time server from the list</source>
        <translation>Zeitserver aus der Liste wählen</translation>
    </message>
    <message>
        <source>Host ............. :</source>
        <translation>Rechner ....... :</translation>
    </message>
    <message>
        <source>IP address .... :</source>
        <translation>IP-Adresse ... :</translation>
    </message>
    <message>
        <source>UTC date ..... :</source>
        <translation>UTC-Datum .. :</translation>
    </message>
    <message>
        <source>Waiting ...</source>
        <translation>Warten ...</translation>
    </message>
    <message>
        <source>Local Time ... :</source>
        <translation>Ortszeit ........ :</translation>
    </message>
    <message>
        <source>&amp;Synchronize</source>
        <translation>&amp;Synchronisieren</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Show &amp;Connection Status</source>
        <translation>&amp;Verbindungsstatus anzeigen</translation>
    </message>
    <message>
        <source> &amp;Project</source>
        <translation> &amp;Projekt</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Connection Status</source>
        <translation>&amp;Verbindungsstatus</translation>
    </message>
    <message>
        <source>&amp;Edit server list</source>
        <translation>Serverliste &amp;bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Download new server list</source>
        <translation>Neue Serverliste &amp;herunterladen</translation>
    </message>
    <message>
        <source>Host name</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>UTC date</source>
        <translation>UTC-Datum</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>Ortszeit</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Time synchronization</source>
        <translation>Zeitsynchronisierung</translation>
    </message>
    <message>
        <source>Time server</source>
        <translation>Zeitserver</translation>
    </message>
    <message>
        <source>Synchronization details</source>
        <translation>Einzelheiten der Synchronisierung</translation>
    </message>
    <message>
        <source>Network activity</source>
        <translation>Netzwerkaktivität</translation>
    </message>
</context>
<context>
    <name>frmabout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Viel Spaß!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Updates und mehr Freeware</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>auf meiner Homepage:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>Copyright © 2000 - %1</source>
        <translation>Copyright © 2000 - %1</translation>
    </message>
</context>
</TS>

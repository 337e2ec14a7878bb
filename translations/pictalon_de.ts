<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Picture</name>
    <message>
        <source>Picture too large (%1 x %2 pixels)</source>
        <translation>Bild zu groß (%1 x %2 Pixel)</translation>
    </message>
    <message>
        <source>Cannot read the file: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>PNG error</source>
        <translation>PNG-Fehler</translation>
    </message>
    <message>
        <source>Unsupported PNG layout</source>
        <translation>Nicht unterstützter PNG-Aufbau</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>GIF error</source>
        <translation>GIF-Fehler</translation>
    </message>
    <message>
        <source>GIF file has no colour map</source>
        <translation>Die GIF-Datei hat keine Farbtabelle</translation>
    </message>
    <message>
        <source>GIF file holds no image</source>
        <translation>Die GIF-Datei enthält kein Bild</translation>
    </message>
    <message>
        <source>Picture has no pixels</source>
        <translation>Das Bild hat keine Pixel</translation>
    </message>
    <message>
        <source>Cannot open the file: %1</source>
        <translation>Die Datei kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Not a file</source>
        <translation>Keine Datei</translation>
    </message>
    <message>
        <source>Empty input file</source>
        <translation>Leere Eingabedatei</translation>
    </message>
    <message>
        <source>Not a JPEG, PNG or GIF picture</source>
        <translation>Kein JPEG-, PNG- oder GIF-Bild</translation>
    </message>
</context>
<context>
    <name>RunThumbnails</name>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
</context>
<context>
    <name>TCurrentGallery</name>
    <message>
        <source>The gallery could not be saved to %1</source>
        <translation>Die Galerie konnte nicht unter %1 gespeichert werden</translation>
    </message>
    <message>
        <source>Save Gallery As</source>
        <translation>Galerie speichern unter</translation>
    </message>
    <message>
        <source>Pictalon Gallery (*.pgs)</source>
        <translation>Pictalon-Galerie (*.pgs)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>TDialogService</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TImageDetails</name>
    <message>
        <source>Cannot read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>TPublishWindow</name>
    <message>
        <source>Publishing</source>
        <translation>Veröffentlichen</translation>
    </message>
    <message>
        <source>Connecting to %1...</source>
        <translation>Verbindung zu %1 wird hergestellt...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Publishing to %1
%2 of %3 files, %4 of %5</source>
        <translation>Veröffentlichen auf %1
%2 von %3 Dateien, %4 von %5</translation>
    </message>
    <message numerus="yes">
        <source>%n of the photos to be published tell where they were taken (GPS position). Publish them all the same?</source>
        <translation>
            <numerusform>%n der zu veröffentlichenden Fotos verrät, wo es aufgenommen wurde (GPS-Position). Trotzdem alle veröffentlichen?</numerusform>
            <numerusform>%n der zu veröffentlichenden Fotos verraten, wo sie aufgenommen wurden (GPS-Position). Trotzdem alle veröffentlichen?</numerusform>
        </translation>
    </message>
    <message>
        <source>The server %1 is not known yet. Its %2 key fingerprint is
%3

Compare it with the one your web host gives. Trust this server and publish to it?</source>
        <translation>Der Server %1 ist noch nicht bekannt. Der Fingerabdruck seines %2-Schlüssels ist
%3

Vergleichen Sie ihn mit dem, den Ihr Webhoster angibt. Diesem Server vertrauen und auf ihm veröffentlichen?</translation>
    </message>
    <message>
        <source>Published to %1: %2 files sent, %3 deleted.</source>
        <translation>Auf %1 veröffentlicht: %2 Dateien gesendet, %3 gelöscht.</translation>
    </message>
    <message>
        <source>Publishing stopped. Every file on the server is whole; the next publish sends the rest.</source>
        <translation>Veröffentlichen abgebrochen. Jede Datei auf dem Server ist vollständig; das nächste Veröffentlichen sendet den Rest.</translation>
    </message>
</context>
<context>
    <name>TThumbMaker</name>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Cannot start a thumbnail worker: %1</source>
        <translation>Für die Miniaturbilder kann kein Arbeits-Thread gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>pictalon::TEditorPage</name>
    <message>
        <source>HTML Document (*.htm,*.html)|*.htm;*.html</source>
        <extracomment>A file type: its description, then after the bar the file patterns, which stay as they are.</extracomment>
        <translation>HTML-Dokument (*.htm,*.html)|*.htm;*.html</translation>
    </message>
    <message>
        <source>Cascading Stylesheets (*.css)|*.css</source>
        <extracomment>A file type: its description, then after the bar the file patterns, which stay as they are.</extracomment>
        <translation>CSS-Stylesheets (*.css)|*.css</translation>
    </message>
    <message>
        <source>&lt;UNTITLED&gt;</source>
        <translation>&lt;UNBENANNT&gt;</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Editor status</source>
        <translation>Editorstatus</translation>
    </message>
    <message>
        <source>HTML Color</source>
        <translation>HTML-Farbe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Editor schließen</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Open HTML File</source>
        <translation>HTML-Datei öffnen</translation>
    </message>
    <message>
        <source>HTML Files|*.html;*.htm</source>
        <translation>HTML-Dateien|*.html;*.htm</translation>
    </message>
    <message>
        <source>The current file has been modifed.
Do you want to save your changes ?</source>
        <translation>Die aktuelle Datei wurde geändert.
Möchten Sie Ihre Änderungen speichern?</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;: the file is read-only</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden: Die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>Cannot write file &quot;%1&quot;: %2</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>You cannot overwrite pictbase.html.
You should save your changes with a
different filename.</source>
        <translation>pictbase.html kann nicht überschrieben werden.
Speichern Sie Ihre Änderungen bitte unter
einem anderen Dateinamen.</translation>
    </message>
    <message>
        <source>%1 has changed.
Do you want to save the changes ?</source>
        <translation>%1 wurde geändert.
Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid colour value</source>
        <translation>„%1“ ist kein gültiger Farbwert</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>%1 saved as your own copy in %2</source>
        <translation>%1 als eigene Kopie in %2 gespeichert</translation>
    </message>
</context>
<context>
    <name>pictalon::TEngineUi</name>
    <message>
        <source>Generating web pages...</source>
        <translation>Webseiten werden erzeugt...</translation>
    </message>
</context>
<context>
    <name>pictalon::TGalleryImagesPage</name>
    <message>
        <source>Select Gallery Cell Style:</source>
        <translation>Zellenstil der Galerie wählen:</translation>
    </message>
    <message>
        <source>Cell Sampler...</source>
        <translation>Zellenstil-Übersicht...</translation>
    </message>
    <message>
        <source>Edit cell stylesheet...</source>
        <translation>Zellenstil bearbeiten...</translation>
    </message>
    <message>
        <source>Select Images for Gallery:</source>
        <translation>Bilder für die Galerie wählen:</translation>
    </message>
    <message>
        <source>Select image folder....</source>
        <translation>Bildordner wählen....</translation>
    </message>
    <message>
        <source>Select image files....</source>
        <translation>Bilddateien wählen....</translation>
    </message>
    <message>
        <source>Review Images...</source>
        <translation>Bilder prüfen...</translation>
    </message>
    <message>
        <source>Use filename for caption</source>
        <translation>Dateiname als Bildunterschrift</translation>
    </message>
    <message>
        <source>Images Folder:</source>
        <translation>Bildordner:</translation>
    </message>
    <message>
        <source>Images URL:</source>
        <translation>Bilder-URL:</translation>
    </message>
    <message>
        <source>Pictalon could not open the Cell Sampler in your
web browser.  This could either be because you
do not have a browser installed or because your
browser is not associated with files of type .htm
or .html.
If you do not have a browser installed then you will
not be able to use Pictalon properly.  If you have a
browser, check that it is the default browser and that
it is associated with html files.</source>
        <translation>Pictalon konnte die Zellenstil-Übersicht nicht in Ihrem
Webbrowser öffnen. Entweder ist kein Browser
installiert, oder Ihr Browser ist nicht mit Dateien
des Typs .htm oder .html verknüpft.
Ohne installierten Browser können Sie Pictalon
nicht richtig verwenden. Wenn Sie einen Browser
haben, prüfen Sie, ob er der Standardbrowser ist
und ob er mit HTML-Dateien verknüpft ist.</translation>
    </message>
    <message>
        <source>No JPG images found/selected</source>
        <translation>Keine JPG-Bilder gefunden/ausgewählt</translation>
    </message>
    <message numerus="yes">
        <source>%n JPG images selected</source>
        <translation>
            <numerusform>%n JPG-Bild ausgewählt</numerusform>
            <numerusform>%n JPG-Bilder ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>Select Image Files</source>
        <translation>Bilddateien wählen</translation>
    </message>
    <message>
        <source>JPG Images (*.jpg)</source>
        <translation>JPG-Bilder (*.jpg)</translation>
    </message>
    <message>
        <source>&lt; Select Image Folder &gt;</source>
        <translation>&lt; Bildordner wählen &gt;</translation>
    </message>
    <message>
        <source>Use the photos&apos; own titles</source>
        <translation>Eigene Titel der Fotos verwenden</translation>
    </message>
    <message>
        <source>A photo whose title you have not typed is captioned with the title stored in the photo by your photo manager or camera</source>
        <translation>Ein Foto, dessen Titel Sie nicht eingegeben haben, erhält als Bildunterschrift den Titel, den Ihre Fotoverwaltung oder Kamera im Foto gespeichert hat</translation>
    </message>
    <message>
        <source>by file name</source>
        <translation>nach Dateiname</translation>
    </message>
    <message>
        <source>by time taken</source>
        <translation>nach Aufnahmezeit</translation>
    </message>
    <message>
        <source>Order:</source>
        <translation>Reihenfolge:</translation>
    </message>
</context>
<context>
    <name>pictalon::TGalleryOptionsPage</name>
    <message>
        <source>Select image folder....</source>
        <translation>Bildordner wählen....</translation>
    </message>
    <message>
        <source>Copy images to output folder</source>
        <translation>Bilder in den Ausgabeordner kopieren</translation>
    </message>
    <message>
        <source>Fine tune...</source>
        <translation>Feineinstellungen...</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>Columns:</source>
        <translation>Spalten:</translation>
    </message>
    <message>
        <source>Rows:</source>
        <translation>Zeilen:</translation>
    </message>
    <message>
        <source>Proportional</source>
        <translation>Proportional</translation>
    </message>
    <message>
        <source>Fixed Height</source>
        <translation>Feste Höhe</translation>
    </message>
    <message>
        <source>Fixed Width</source>
        <translation>Feste Breite</translation>
    </message>
    <message>
        <source>Proportional size in % of image size</source>
        <translation>Proportionale Größe in % der Bildgröße</translation>
    </message>
    <message>
        <source>Fixed height in pixels</source>
        <translation>Feste Höhe in Pixeln</translation>
    </message>
    <message>
        <source>Fixed width in pixels</source>
        <translation>Feste Breite in Pixeln</translation>
    </message>
    <message>
        <source>% of image size</source>
        <translation>% der Bildgröße</translation>
    </message>
    <message>
        <source>pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>Image Scaling</source>
        <translation>Bildskalierung</translation>
    </message>
    <message>
        <source>&apos;Right-clicks&apos; on images</source>
        <translation>„Rechtsklicks“ auf Bilder</translation>
    </message>
    <message>
        <source>Internet Explorer &apos;Image Toolbar&apos;</source>
        <translation>„Bildsymbolleiste“ des Internet Explorers</translation>
    </message>
    <message>
        <source>Disable:</source>
        <translation>Deaktivieren:</translation>
    </message>
    <message>
        <source>Generate Pages</source>
        <translation>Seiten erzeugen</translation>
    </message>
    <message>
        <source>Template:</source>
        <translation>Vorlage:</translation>
    </message>
    <message>
        <source>Output Folder:</source>
        <translation>Ausgabeordner:</translation>
    </message>
    <message>
        <source>&quot;Back&quot; Link URL:</source>
        <translation>URL des „Back“-Links:</translation>
    </message>
    <message>
        <source>Resize copies for the web</source>
        <translation>Kopien fürs Web verkleinern</translation>
    </message>
    <message>
        <source>Longest side (pixels):</source>
        <translation>Längste Seite (Pixel):</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>Modern</source>
        <translation>Modern</translation>
    </message>
    <message>
        <source>Pages as before: a table of pictures, each opening alone.</source>
        <translation>Seiten wie bisher: eine Bildtabelle, jedes Bild öffnet sich einzeln.</translation>
    </message>
    <message>
        <source>Fits any screen; pictures open in a viewer on the page.</source>
        <translation>Passt auf jeden Bildschirm; Bilder öffnen sich in einem Betrachter auf der Seite.</translation>
    </message>
    <message>
        <source>Web Pages</source>
        <translation>Webseiten</translation>
    </message>
    <message>
        <source>Page style:</source>
        <translation>Seitenstil:</translation>
    </message>
    <message>
        <source>Where Publish puts the site: sftp://[user@]host[:port]/folder (a folder from your home begins with ~/)</source>
        <translation>Wohin Veröffentlichen die Website legt: sftp://[Benutzer@]Host[:Port]/Ordner (ein Ordner im Home-Verzeichnis beginnt mit ~/)</translation>
    </message>
    <message>
        <source>Publish</source>
        <translation>Veröffentlichen</translation>
    </message>
    <message>
        <source>Generate the pages, then send what changed to the &quot;Publish to:&quot; address</source>
        <translation>Die Seiten erzeugen, dann das Geänderte an die Adresse unter &quot;Veröffentlichen auf:&quot; senden</translation>
    </message>
    <message>
        <source>Publish to:</source>
        <translation>Veröffentlichen auf:</translation>
    </message>
</context>
<context>
    <name>pictalon::TGenerateRun</name>
    <message>
        <source>Waiting for another gallery to finish generating...</source>
        <translation>Warten, bis die Erzeugung einer anderen Galerie abgeschlossen ist...</translation>
    </message>
    <message>
        <source>Error running engine</source>
        <translation>Fehler beim Ausführen des Seitengenerators</translation>
    </message>
    <message>
        <source>Copying images to the output folder...</source>
        <translation>Bilder werden in den Ausgabeordner kopiert...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>These pictures could not be resized and were copied as they are, at full size:</source>
        <translation>Diese Bilder konnten nicht verkleinert werden und wurden unverändert in voller Größe kopiert:</translation>
    </message>
</context>
<context>
    <name>pictalon::TGraphicOptionsPage</name>
    <message>
        <source>All (*.jpg *.jpeg *.gif *.png);;JPEG Image (*.jpg *.jpeg);;GIF Image (*.gif);;PNG Image (*.png)</source>
        <extracomment>File types separated by &quot;;;&quot;; the patterns in parentheses stay as they are.</extracomment>
        <translation>Alle (*.jpg *.jpeg *.gif *.png);;JPEG-Bild (*.jpg *.jpeg);;GIF-Bild (*.gif);;PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>Optional &apos;Logo&apos; Graphic (120w x 180h):</source>
        <translation>Optionale „Logo“-Grafik (120 B x 180 H):</translation>
    </message>
    <message>
        <source>Optional Gallery Title Graphic (400w x 100h):</source>
        <translation>Optionale Grafik für den Galerietitel (400 B x 100 H):</translation>
    </message>
    <message>
        <source>Select Optional Background Graphic:</source>
        <translation>Optionale Hintergrundgrafik wählen:</translation>
    </message>
    <message>
        <source>Select a picture...</source>
        <translation>Bild wählen...</translation>
    </message>
    <message>
        <source>No Graphic</source>
        <translation>Keine Grafik</translation>
    </message>
    <message>
        <source>Background colour</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Choose the background colour</source>
        <translation>Hintergrundfarbe wählen</translation>
    </message>
    <message>
        <source>Select Optional Background Colour:</source>
        <translation>Optionale Hintergrundfarbe wählen:</translation>
    </message>
    <message>
        <source>As you have already selected a background graphic,
setting a background colour will have no effect.

If you prefer to select a background colour instead
of a graphic, click the &quot;Yes&quot; button to continue</source>
        <translation>Da Sie bereits eine Hintergrundgrafik gewählt haben,
bleibt eine Hintergrundfarbe ohne Wirkung.

Wenn Sie statt der Grafik lieber eine Hintergrundfarbe
wählen möchten, klicken Sie zum Fortfahren auf „Ja“</translation>
    </message>
</context>
<context>
    <name>pictalon::TMessage</name>
    <message>
        <source>the file is cut short</source>
        <translation>die Datei ist abgeschnitten</translation>
    </message>
    <message>
        <source>the picture is too large</source>
        <translation>das Bild ist zu groß</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>nicht genug Speicher</translation>
    </message>
    <message>
        <source>it could not be decoded</source>
        <translation>es konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid colour value</source>
        <translation>„%1“ ist kein gültiger Farbwert</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is empty</source>
        <translation>%1 ist leer</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>Cannot open %1</source>
        <translation>%1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Error reading %1</source>
        <translation>Fehler beim Lesen von %1</translation>
    </message>
    <message>
        <source>Unknown failure in the page generator</source>
        <translation>Unbekannter Fehler im Seitengenerator</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The gallery layout of %1 rows and %2 columns is out of range (1 to %3 each)</source>
        <translation>Die Galerieaufteilung mit %1 Zeilen und %2 Spalten liegt außerhalb des Bereichs (je 1 bis %3)</translation>
    </message>
    <message>
        <source>%1 of %2 page not written: %3: %4</source>
        <translation>%1 von %2 Seite nicht geschrieben: %3: %4</translation>
    </message>
    <message>
        <source>%1 of %2 pages not written: %3: %4</source>
        <translation>%1 von %2 Seiten nicht geschrieben: %3: %4</translation>
    </message>
    <message>
        <source>%1 of %2 pages not written, the first %3: %4</source>
        <translation>%1 von %2 Seiten nicht geschrieben, die erste %3: %4</translation>
    </message>
    <message>
        <source>Division by zero</source>
        <translation>Division durch null</translation>
    </message>
    <message>
        <source>Error reading settings</source>
        <translation>Fehler beim Lesen der Einstellungen</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Image List is empty</source>
        <translation>Die Bildliste ist leer</translation>
    </message>
    <message>
        <source>Cannot locate %1</source>
        <translation>%1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Cannot release %1</source>
        <translation>%1 kann nicht freigegeben werden</translation>
    </message>
</context>
<context>
    <name>pictalon::TReviewPopup</name>
    <message>
        <source>Thumbnail errors</source>
        <translation>Fehler bei Miniaturbildern</translation>
    </message>
    <message numerus="yes">
        <source>%n Thumbnail Error(s)</source>
        <translation>
            <numerusform>%n Miniaturbildfehler</numerusform>
            <numerusform>%n Miniaturbildfehler</numerusform>
        </translation>
    </message>
    <message>
        <source>The following image(s) caused thumbnail errors:</source>
        <translation>Bei folgenden Bildern schlug das Erstellen der Miniaturbilder fehl:</translation>
    </message>
    <message>
        <source>Height: %1  Width: %2</source>
        <translation>Höhe: %1  Breite: %2</translation>
    </message>
    <message>
        <source>Error loading image</source>
        <translation>Fehler beim Laden des Bildes</translation>
    </message>
</context>
<context>
    <name>pictalon::TStartPage</name>
    <message>
        <source>web galleries from your photos</source>
        <translation>Webgalerien aus Ihren Fotos</translation>
    </message>
    <message>
        <source>New Gallery...</source>
        <translation>Neue Galerie...</translation>
    </message>
    <message>
        <source>Edit Pictalon Template...</source>
        <translation>Vorlage bearbeiten...</translation>
    </message>
    <message>
        <source>Double-click to open an existing Gallery:</source>
        <translation>Vorhandene Galerie per Doppelklick öffnen:</translation>
    </message>
</context>
<context>
    <name>pictalon::TSynEdit</name>
    <message>
        <source>Editor text</source>
        <translation>Editortext</translation>
    </message>
    <message>
        <source>Top Line: %1</source>
        <translation>Oberste Zeile: %1</translation>
    </message>
</context>
<context>
    <name>pictalon::TTextOptionsPage</name>
    <message>
        <source>Choose the text colour</source>
        <translation>Textfarbe wählen</translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Optional Gallery Title Text:</source>
        <translation>Optionaler Galerietitel:</translation>
    </message>
    <message>
        <source>Optional Gallery Introduction:</source>
        <translation>Optionale Einleitung der Galerie:</translation>
    </message>
    <message>
        <source>Optional Gallery Page Footer:</source>
        <translation>Optionale Fußzeile der Galerieseiten:</translation>
    </message>
    <message>
        <source>Optional Text Colour:</source>
        <translation>Optionale Textfarbe:</translation>
    </message>
</context>
<context>
    <name>pictalon::TWizardToolbar</name>
    <message>
        <source>New Gallery...</source>
        <translation>Neue Galerie...</translation>
    </message>
    <message>
        <source>Edit Pictalon Template...</source>
        <translation>Pictalon-Vorlage bearbeiten...</translation>
    </message>
    <message>
        <source>Save Current Gallery...</source>
        <translation>Aktuelle Galerie speichern...</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Open a gallery</source>
        <translation>Galerie öffnen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>pictalon::TdmNonVis</name>
    <message>
        <source>Pictalon Base Template</source>
        <translation>Pictalon-Basisvorlage</translation>
    </message>
    <message>
        <source>Pictalon Cell Styles...</source>
        <translation>Pictalon-Zellenstile...</translation>
    </message>
    <message>
        <source>Other HTML files...</source>
        <translation>Andere HTML-Dateien...</translation>
    </message>
    <message>
        <source>Getting Started...</source>
        <translation>Erste Schritte...</translation>
    </message>
    <message>
        <source>About Pictalon...</source>
        <translation>Über Pictalon...</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>pictalon::TfrmAbout</name>
    <message>
        <source>About Pictalon</source>
        <translation>Über Pictalon</translation>
    </message>
    <message>
        <source>Pictalon home page</source>
        <translation>Pictalon-Homepage</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later (GPL-3.0-or-later).&lt;br&gt;&lt;a href=&quot;%1&quot;&gt;Read the licence&lt;/a&gt;</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder später (GPL-3.0-or-later).&lt;br&gt;&lt;a href=&quot;%1&quot;&gt;Lizenz lesen&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>pictalon::TfrmFineTune</name>
    <message>
        <source>Pictalon - Fine Tuner</source>
        <translation>Pictalon - Feineinstellungen</translation>
    </message>
    <message>
        <source>Percent</source>
        <translation>Prozent</translation>
    </message>
    <message>
        <source>Pixels</source>
        <translation>Pixel</translation>
    </message>
    <message>
        <source>Width unit</source>
        <translation>Einheit der Breite</translation>
    </message>
    <message>
        <source>Gallery &apos;Table&apos; Settings:</source>
        <translation>Einstellungen der Galerie-„Tabelle“:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Cell Spacing:</source>
        <translation>Zellenabstand:</translation>
    </message>
    <message>
        <source>Hyperlink Gallery Images</source>
        <translation>Galeriebilder verlinken</translation>
    </message>
    <message>
        <source>Caption only</source>
        <translation>Nur Bildunterschrift</translation>
    </message>
    <message>
        <source>Image only</source>
        <translation>Nur Bild</translation>
    </message>
    <message>
        <source>Image and Caption</source>
        <translation>Bild und Bildunterschrift</translation>
    </message>
    <message>
        <source>Show linked image in new window</source>
        <translation>Verlinktes Bild in neuem Fenster anzeigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>pictalon::TfrmImageReview</name>
    <message>
        <source>Gallery Image Review</source>
        <translation>Galeriebilder prüfen</translation>
    </message>
    <message>
        <source>Image Folder:</source>
        <translation>Bildordner:</translation>
    </message>
    <message>
        <source>Image Folder</source>
        <translation>Bildordner</translation>
    </message>
    <message>
        <source>Create Thumbnails</source>
        <translation>Miniaturbilder erstellen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Thumbnails</source>
        <translation>Miniaturbilder</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Image &amp;Title:</source>
        <translation>Bild&amp;titel:</translation>
    </message>
    <message>
        <source>Image ID/&amp;Reference:</source>
        <translation>Bild-ID/&amp;Referenz:</translation>
    </message>
    <message>
        <source>Use file stem</source>
        <translation>Dateiname ohne Endung</translation>
    </message>
    <message>
        <source>Image &amp;Size:</source>
        <translation>Bild&amp;größe:</translation>
    </message>
    <message>
        <source>Show size in pixels</source>
        <translation>Größe in Pixeln anzeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Image details typed now cannot be stored.</source>
        <translation>Jetzt eingegebene Bildangaben können nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot write the image details file %1</source>
        <translation>Die Datei mit den Bildangaben %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>No gallery file: save the gallery to keep image details</source>
        <translation>Keine Galeriedatei: Speichern Sie die Galerie, um Bildangaben zu behalten</translation>
    </message>
    <message>
        <source>Image details cannot be read</source>
        <translation>Bildangaben können nicht gelesen werden</translation>
    </message>
    <message>
        <source>Creating thumbnails...</source>
        <translation>Miniaturbilder werden erstellt...</translation>
    </message>
    <message>
        <source>[%1 images found]   [%2 thumbnails created]</source>
        <translation>[Bilder gefunden: %1]   [Miniaturbilder erstellt: %2]</translation>
    </message>
    <message>
        <source>The photo&apos;s own title, used when you type none. Right arrow takes it to edit; typing replaces it.</source>
        <translation>Der eigene Titel des Fotos, verwendet, wenn Sie keinen eingeben. Pfeil nach rechts übernimmt ihn zum Bearbeiten; Tippen ersetzt ihn.</translation>
    </message>
    <message>
        <source>Taken: %1</source>
        <translation>Aufgenommen: %1</translation>
    </message>
</context>
<context>
    <name>pictalon::TfrmSetup</name>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Text Options</source>
        <translation>Textoptionen</translation>
    </message>
    <message>
        <source>Graphic Options</source>
        <translation>Grafikoptionen</translation>
    </message>
    <message>
        <source>Gallery Images</source>
        <translation>Galeriebilder</translation>
    </message>
    <message>
        <source>Gallery Options</source>
        <translation>Galerieoptionen</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Fatal Error: cssIndex.dat is missing.
Pictalon will now terminate.</source>
        <translation>Schwerer Fehler: cssIndex.dat fehlt.
Pictalon wird jetzt beendet.</translation>
    </message>
    <message>
        <source>Fatal Error: cssIndex.dat is empty.
Pictalon will now terminate.</source>
        <translation>Schwerer Fehler: cssIndex.dat ist leer.
Pictalon wird jetzt beendet.</translation>
    </message>
    <message>
        <source>The HTML templates folder
%1
does not contain any templates.

Pictalon will terminate.</source>
        <translation>Der Ordner für HTML-Vorlagen
%1
enthält keine Vorlagen.

Pictalon wird beendet.</translation>
    </message>
    <message>
        <source>Enter where to publish the site in &quot;Publish to:&quot; first, for example sftp://user@example.org/~/public_html</source>
        <translation>Geben Sie zuerst unter &quot;Veröffentlichen auf:&quot; an, wohin die Website soll, zum Beispiel sftp://benutzer@example.org/~/public_html</translation>
    </message>
</context>
</TS>

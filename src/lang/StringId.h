#pragma once

namespace leafmill::StringId {

// Numbers of the language strings the program shows; LanguageTable::text
// takes them. 0 and 30 are not used.

// Main window
inline constexpr int BookNamePrompt = 1;  // Label1
inline constexpr int AddFilesButton = 2;  // Cmd_AddFiles
inline constexpr int SettingsButton = 3;  // Cmd_Settings, and the settings dialog's title
inline constexpr int DelFilesButton = 4;  // Cmd_DelFiles
inline constexpr int ClearListButton = 5;  // Cmd_ClearList
inline constexpr int OutputButton = 6;  // Cmd_Output
inline constexpr int StopOutputButton = 7;  // Cmd_StopOutput
inline constexpr int AddFilesTitle = 8;  // title of the add-files dialog
inline constexpr int AskDeleteFiles = 15;  // yes/no before the selected entries go
inline constexpr int AskClearList = 16;  // yes/no before the whole list goes
inline constexpr int ChosenFilesGone = 258;  // heading of chosen files no longer there
inline constexpr int ChosenNotFiles = 259;  // heading of chosen paths that are no files

// Output run
inline constexpr int OutputFolderTitle = 9;  // title of the folder browser
inline constexpr int BookNameEmpty = 10;  // checks before a run
inline constexpr int BookNameInvalid = 11;
inline constexpr int BookNameBlank = 50;  // blanks only
inline constexpr int BookNameDots = 51;  // dots only
inline constexpr int BookNameBadEnd = 52;  // ends in a blank or a dot
inline constexpr int FileListEmpty = 12;
inline constexpr int Converting = 13;  // progress label, followed by the source path
inline constexpr int RunFinished = 14;  // holds "@BookName"
inline constexpr int AskStopRun = 31;  // yes/no when Stop was pressed
inline constexpr int RunStopped = 32;
inline constexpr int FailureListHeading = 33;  // heading of the sources that gave no pages
inline constexpr int FailureUnknownKind = 34;
inline constexpr int FailureUnreadable = 35;
inline constexpr int FailureNotConverted = 36;  // holds "@Reason"
inline constexpr int FailurePageNotWritten = 37;  // holds "@Reason"
inline constexpr int BookFolderNotCreated = 38;  // holds "@Folder" and "@Reason"
inline constexpr int RunNoPages = 41;  // no source gave a page; holds "@BookName"
inline constexpr int FailureStoppedAfter = 42;  // holds "@Pages" and "@Reason"
inline constexpr int UnfinishedListHeading = 43;  // heading of the sources that failed after some pages
inline constexpr int OldPagesRemoved = 44;  // holds "@Count"
inline constexpr int PageRenamed = 45;  // holds "@Source" and "@Page"
inline constexpr int WarningListHeading = 46;  // heading of the readers' warnings
inline constexpr int FailureTooLarge = 71;  // holds "@Limit"
inline constexpr int FailureChanged = 72;
inline constexpr int FailureReaderStopped = 73;  // holds "@Reason"
inline constexpr int FailureNoText = 74;
inline constexpr int RunBookKept = 75;  // a failed run kept the earlier book; holds "@BookName"
inline constexpr int RunStoppedBookKept = 76;  // holds "@BookName"
inline constexpr int RunStoppedPagesKept = 77;  // holds "@Pages"
inline constexpr int RunMadeIncomplete = 78;  // a first book without some sources; holds "@BookName"
inline constexpr int BookBusy = 79;  // another run writes the book; holds "@BookName"
inline constexpr int BookNotPlaced = 80;  // holds "@BookName" and "@Reason"

// Settings dialog
inline constexpr int CutStyleLabel = 17;  // never visible
inline constexpr int KeepFileSizeLabel = 18;  // Label1(1)
inline constexpr int KeepFileSizeRange = 19;  // Label4
inline constexpr int CutWordsHeading = 20;  // Label2
inline constexpr int RestoreDefaults = 21;  // Command3
inline constexpr int FirstCutWordLabel = 22;  // Label3(0); Label3(i) is 22 + i, up to 27
inline constexpr int CutWordLabelCount = 6;
inline constexpr int OkButton = 28;  // Command1
inline constexpr int CancelButton = 29;  // Command2
inline constexpr int SettingsNotSaved = 39;  // holds "@File" and "@Reason"

// Start-up
inline constexpr int LanguageFallback = 40;  // holds "@Chosen" and "@Used"

// Pages for the Notes reader
inline constexpr int CharactersReplaced = 55;  // holds "@Count" and "@First"
inline constexpr int PreviousLink = 56;
inline constexpr int NextLink = 57;
inline constexpr int ContentsTitle = 58;
inline constexpr int AskTooManyNotes = 59;  // holds "@Notes" and "@Limit"
inline constexpr int PageOverReaderLimit = 60;  // holds "@Size"
inline constexpr int ReaderHeading = 61;
inline constexpr int ReaderEncodingLabel = 62;
inline constexpr int ReaderCodePageEncoding = 63;
inline constexpr int ReaderLinks = 64;
inline constexpr int ReaderTitles = 65;
inline constexpr int ReaderContents = 66;
inline constexpr int ReaderChapterPages = 67;
inline constexpr int ReaderJoinLines = 68;
inline constexpr int PreviewButton = 69;
inline constexpr int IPodNotesFolder = 70;  // holds "@Folder" and "@Free"

// Source encodings
inline constexpr int ReadAs = 90;  // holds "@Encoding"
inline constexpr int KeptByPageEncoding = 91;  // holds "@Encoding"; follows CharactersReplaced
inline constexpr int SourceEncodingLabel = 92;
inline constexpr int SourceEncodingDetected = 93;  // the choice that finds each source's encoding
// Books that are right on a real iPod: volumes, the note count, the check
inline constexpr int VolumeNotesLabel = 110;
inline constexpr int AskVolumes = 111;  // holds "@Notes", "@Limit" and "@Volume"
inline constexpr int NotesOverLimit = 112;  // holds "@Notes" and "@Limit"
inline constexpr int AskRemakeInVolumes = 113;  // holds "@Volume"
inline constexpr int NotesForecastOverLimit = 114;  // holds "@Notes" and "@Limit"
inline constexpr int CutNotesHeading = 115;
inline constexpr int CutNoteLine = 116;  // holds "@Note", "@Size" and "@Hidden"
inline constexpr int WholeFileNotes = 117;
inline constexpr int VolumeContinues = 118;  // holds "@Volume"
inline constexpr int CheckButton = 119;
inline constexpr int CheckClean = 120;  // holds "@Folder"
inline constexpr int CheckHeading = 121;  // holds "@Folder"
inline constexpr int CheckNoteCut = 122;  // holds "@Note", "@Size" and "@Cut"
inline constexpr int CheckNotLoaded = 123;  // holds "@Notes", "@Limit", "@Unloaded" and "@First"
inline constexpr int CheckDeadLink = 124;  // holds "@Note" and "@Target"
inline constexpr int CheckBadTag = 125;  // holds "@Note" and "@Tag"
inline constexpr int CheckBadBytes = 126;  // holds "@Note", "@Count", "@Encoding" and "@Offset"
inline constexpr int CheckMenuOrder = 127;  // holds "@Note" and "@Other"
inline constexpr int BookNameTooLong = 128;
inline constexpr int CheckUnreadable = 129;  // holds "@Note" and "@Reason"
// The desktop: keyboard, layout and run progress
inline constexpr int LanguageLabel = 150;  // Label5 of the settings dialog
inline constexpr int PageSizeLabel = 151;  // Label6, above the page-size choice
inline constexpr int PageSizeBytes = 152;  // a row of the page-size choice; holds "@Size"
inline constexpr int WholeFilePages = 153;  // the row without a page size
inline constexpr int RunBarLabel = 154;  // over the whole run's progress bar
inline constexpr int SourceBarLabel = 155;  // over the current source's progress bar
inline constexpr int TimeLeft = 156;  // holds "@Time"
inline constexpr int AskReplaceBook = 157;  // holds "@BookName", "@Folder" and "@Pages"
inline constexpr int SplashVersion = 158;  // the splash's second line; holds "@Version"
// The iPod panel: the iPods, the books on them, send, remove, next volume, eject
inline constexpr int IPodButton = 200;
inline constexpr int IPodTitle = 201;  // the panel's title
inline constexpr int IPodLabel = 202;
inline constexpr int IPodNotesInUse = 203;  // holds "@Notes", "@Limit" and "@Free"
inline constexpr int NoIPod = 204;
inline constexpr int IPodBookEntry = 205;  // holds "@Book" and "@Notes"
inline constexpr int MadeByLeafmill = 206;  // follows a book made by Leafmill in the list
inline constexpr int SendButton = 207;
inline constexpr int RemoveButton = 208;
inline constexpr int NextVolumeButton = 209;
inline constexpr int EjectButton = 210;
inline constexpr int SendTitle = 211;
inline constexpr int NextVolumeTitle = 212;
inline constexpr int BookSent = 213;  // holds "@Book" and "@Count"
inline constexpr int SendTooManyNotes = 214;  // holds "@Book", "@Count" and "@Limit"
inline constexpr int IPodBookNotOurs = 215;  // holds "@Book"
inline constexpr int NotABook = 216;  // holds "@Folder"
inline constexpr int SendNoRoom = 217;  // holds "@Book" and "@Size"
inline constexpr int NotInVolumes = 218;  // holds "@Book"
inline constexpr int LastVolume = 219;  // holds "@Book"
inline constexpr int IPodChangeFailed = 220;  // holds "@Reason"
inline constexpr int AskRemoveBook = 221;  // holds "@Book"
inline constexpr int BookRemoved = 222;  // holds "@Book" and "@Count"
inline constexpr int FolderKept = 223;  // holds "@Book"
inline constexpr int IPodEjected = 224;
inline constexpr int EjectFailed = 225;  // holds "@Reason"
inline constexpr int EjectNotOffered = 226;
inline constexpr int ChooseBookFirst = 227;
inline constexpr int CutTypeMissing = 240;  // holds "@Row"
inline constexpr int PageEncodingUnusable = 241;  // holds "@Encoding" and "@Reason"
inline constexpr int PageTooSmallForMarkup = 242;  // holds "@Size" and "@Reserve"

// Strings from FirstAdded up may be missing from older language files; the
// table has built-in English for them.
inline constexpr int FirstAdded = 33;
inline constexpr int Highest = 259;

constexpr int cutWordLabel(int box)
{
    return FirstCutWordLabel + box;
}

}  // namespace leafmill::StringId

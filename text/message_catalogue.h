// MessageCatalogue: every text the user sees, stored in the OEM code page in writable storage.
#ifndef TEXT_MESSAGE_CATALOGUE_H
#define TEXT_MESSAGE_CATALOGUE_H

struct MessageCatalogue {
  char agreementCaption[64];
  char agreementText[2600];  // 2,580 characters with CR LF line breaks
  char okLabel[8];
  char cancelLabel[16];
  char agreeLabel[16];
  char setupCaption[64];
  char defaultEntry[2][32];  // indexed by PromptMode
  char uninstallQuestion[128];
  char uninstallCaption[32];
  char prompt[2][192];  // indexed by PromptMode
  char incompletePath[64];
  char incompletePathCaption[32];
  char existingDirectory[64];
  char existingDirectoryCaption[32];
  char unusableEntry[32];
  char unusableEntryCaption[32];
  char cancelQuestion[48];
  char cancelCaption[32];
  char nameTooLong[128];
  char nameTooLongCaption[32];
};

extern MessageCatalogue g_catalogue;

// Converts the entry in place from the OEM to the ANSI code page and returns the entry itself, so
// that the results of several calls stay valid side by side.
char* ShowText(char* entry);

#endif  // TEXT_MESSAGE_CATALOGUE_H

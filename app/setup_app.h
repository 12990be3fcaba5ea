// CSetupApp: the application object; InitInstance is the whole program.
#ifndef APP_SETUP_APP_H
#define APP_SETUP_APP_H

#include "framework/app.h"

class CSetupApp : public CWinApp {
 public:
  CSetupApp();
  // Called once by the class library: 3-D controls, text scratch, command line, one sequence.
  BOOL InitInstance() override;
};

#endif  // APP_SETUP_APP_H

#pragma once

#include <QString>

namespace tarvola::service {

struct TProxy {
  bool Enabled = false;
  QString Address;
  QString Port;
  bool Authenticate = false;  // send Username and Password when the proxy asks
  QString Username;
  QString Password;
};

struct TService {
  QString HomeUrl;
  QString HomeContact;
  QString PopMsg;
  QString PopUrl;
  QString UpdateUrl;
  QString ProdUrl;
  QString Video;
  QString DateShown;
};

// The two process-wide values of the channel; they live on the window's event thread.
TService& ServiceData();
TProxy& SystemProxy();

// Both back to their state at program start: built-in addresses, no proxy.
void InitServiceSettings();

// The endpoint of the service document: the TARVOLA_SERVICE_URL environment value when it
// is set (empty switches the channel off), else the address built in. Empty: no channel.
QString ServiceEndpoint();

// The endpoint with the request's query.
QString ServiceRequestUrl(const QString& endpoint);

// The contact form with its query.
QString ContactAddress(const TService& service);

}  // namespace tarvola::service
